#include "marrowgate/game/mg_game_scene.h"

#include "marrowgate/game/mg_game_application.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/mg_screen.h"

namespace Marrowgate::Game {

GameScene::~GameScene()
{
    GameApplication::ForgetScene(this);
    // The slot must not keep pointing at a camera that is about to go.
    if (&Graphics::GetActiveCamera() == &mCamera) {
        Graphics::SetActiveCamera(nullptr);
    }
}

void GameScene::OnOpen()
{
    mStepAccumulator = 0.0f;
    Graphics::SetActiveCamera(&mCamera);
}

void GameScene::OnClose()
{
    Graphics::SetManagedCamera(nullptr);
}

void GameScene::OnRender()
{
    const Core::Vector2 center = Graphics::ScreenCenter();
    Graphics::PushMatrix();
    Graphics::Translate(center.x, center.y, 0.0f);
    Graphics::Rotate(-Graphics::GetActiveCamera().GetOrientation(), 0.0f, 0.0f, 1.0f);
    Graphics::Translate(-center.x, -center.y, 0.0f);
    EntityManager::OnRender();
    Graphics::PopMatrix();
}

} // namespace Marrowgate::Game
