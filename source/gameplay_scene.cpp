#include "gameplay_scene.h"

#include "car_entity.h"
#include "marrowgate/application/mg_input.h"
#include "marrowgate/graphics/mg_screen.h"
#include "quor_entity.h"
#include "scene_manager.h"
#include "score_display.h"

using Marrowgate::Core::Vector3;

namespace {

constexpr int kGridLinesPerHalf = 25;
constexpr float kGridSpacing = 10.0f;
constexpr float kGridHalfSize = 250.0f;
constexpr std::uint32_t kGridColor = 0xFF004000;
constexpr float kAxesLength = 10.0f;

} // namespace

GameplayScene::GameplayScene() = default;

GameplayScene::~GameplayScene() = default;

void GameplayScene::OnOpen()
{
    PerspectiveScene::OnOpen();
    RemovePlayersOfAnEarlierOpening();
    AddEntity(new ScoreDisplay());
    const Marrowgate::Core::Vector2 center = Marrowgate::Graphics::ScreenCenter();
    Marrowgate::Application::SetMousePosition(static_cast<int>(center.x), static_cast<int>(center.y));
    GetEntityManager().AddEntity(new CarEntity());
    GetEntityManager().AddEntity(new QuorEntity());
    BuildGround();
}

// Opening again (a second switch to play, or the same scene asked for while current) starts
// over with one car, one chip and one score display, not a second set beside the first.
void GameplayScene::RemovePlayersOfAnEarlierOpening()
{
    for (const char* entityType : {"CarEntity", "QuorEntity"}) {
        for (Orrery::Game::Entity* entity : GetEntityManager().GetEntitiesByType(entityType)) {
            GetEntityManager().RemoveEntity(entity);
        }
    }
    for (Marrowgate::Game::Entity* display : GetEntitiesByType("ScoreDisplay")) {
        RemoveEntity(display);
    }
}

std::vector<GroundLine> GroundLines()
{
    std::vector<GroundLine> lines;
    // Both halves of the grid, without the two centre lines (the axes take their place).
    for (int i = 1; i <= kGridLinesPerHalf; ++i) {
        for (float offset : {kGridSpacing * static_cast<float>(i), -kGridSpacing * static_cast<float>(i)}) {
            lines.push_back(
                {Vector3(offset, 0.0f, -kGridHalfSize), Vector3(offset, 0.0f, kGridHalfSize), kGridColor});
            lines.push_back(
                {Vector3(-kGridHalfSize, 0.0f, offset), Vector3(kGridHalfSize, 0.0f, offset), kGridColor});
        }
    }
    const Vector3 origin;
    lines.push_back({origin, Vector3(0.0f, 0.0f, kGridHalfSize), 0xFF0000FF});
    lines.push_back({origin, Vector3(0.0f, 0.0f, -kGridHalfSize), 0xFF000088});
    lines.push_back({origin, Vector3(0.0f, kGridHalfSize, 0.0f), 0xFF00FF00});
    lines.push_back({origin, Vector3(0.0f, -kGridHalfSize, 0.0f), 0xFF008800});
    lines.push_back({origin, Vector3(kGridHalfSize, 0.0f, 0.0f), 0xFFFF0000});
    lines.push_back({origin, Vector3(-kGridHalfSize, 0.0f, 0.0f), 0xFF880000});
    return lines;
}

void GameplayScene::BuildGround()
{
    mGroundVisualization.Clear(false);
    for (const GroundLine& line : GroundLines()) {
        mGroundVisualization.AddLine(line.start, line.end, line.color);
    }
}

void GameplayScene::OnSimulate()
{
    PerspectiveScene::OnSimulate();
    if (mQuitKeys.IsReleased()) {
        SceneManager::QuitGame();
    }
}

void GameplayScene::OnUpdate(float deltaTime)
{
    PerspectiveScene::OnUpdate(deltaTime);
    const std::vector<Orrery::Game::Entity*> cars = GetEntityManager().GetEntitiesByType("CarEntity");
    if (!cars.empty()) {
        GetCamera3D().SetTarget(cars.front()->GetPosition());
    }
}

void GameplayScene::OnPerspectiveRender()
{
    GetEntityManager().Render();
    Cinderhall::theShaderManager->BindShader(theBasicObjectShader);
    GetLighting().ApplyLighting();
    Cinderhall::RenderList::Get().Render(GetPerspectivePass().GetView());
    Cinderhall::theShaderManager->PushShader(theVisualizerShader);
    Cinderhall::RenderAxes(kAxesLength, true);
    mGroundVisualization.Render();
    Cinderhall::theShaderManager->PopShader();
}
