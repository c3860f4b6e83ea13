// Example 11: a minimap drawn through a render target.
//
// A RenderTarget is a texture that graphics draw into instead of the screen. Each frame the
// scene's world (a field of coloured blocks and a player that roams over it) is drawn once to
// the screen through the camera that follows the player, and once more, scaled down to a
// quarter and without the camera, into a 160 x 90 target. A Sprite then shows that texture in
// the corner, over a frame, like any picture. Targets made again after a lost context say so
// (HaveContentsBeenLost); this one is drawn every frame, so it need not care.
//
// Arrows move the player, Escape quits; without keys the player circles by itself.
// Usage: example_11_minimap [seconds]
#include "marrowgate/game/mg_game_application.h"
#include "marrowgate/game/mg_game_scene.h"
#include "marrowgate/game/mg_key_binding.h"
#include "marrowgate/graphics/mg_basic_shapes.h"
#include "marrowgate/graphics/mg_graphic_list.h"
#include "marrowgate/graphics/mg_render_target.h"
#include "marrowgate/graphics/mg_screen.h"
#include "marrowgate/graphics/mg_sprite.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

using namespace Marrowgate;
using Application::Key;
using Graphics::Color;
using Graphics::ColorPalette;

namespace {

constexpr float kWorldWidth = 640.0f;
constexpr float kWorldHeight = 360.0f;
constexpr float kMapScale = 0.25f;

// The world: what both the screen and the minimap show.
class World : public Graphics::GraphicList
{
};

} // namespace

class MinimapScene : public Game::GameScene
{
public:
    explicit MinimapScene(float secondsToRun) : mSecondsToRun(secondsToRun)
    {
        mWorld.AddManagedGraphic(
            new Graphics::BoxShape(kWorldWidth, kWorldHeight, Color(ColorPalette::DarkGrey), {0.0f, 0.0f}));
        const ColorPalette blockColors[] = {ColorPalette::Orange, ColorPalette::SkyBlue,
                                            ColorPalette::Violet};
        for (int index = 0; index < 12; ++index) {
            mWorld.AddManagedGraphic(
                new Graphics::BoxShape(60.0f, 40.0f, Color(blockColors[index % 3]),
                                       {40.0f + 150.0f * static_cast<float>(index % 4),
                                        40.0f + 110.0f * static_cast<float>(index / 4)}));
        }
        mPlayer.SetOrigin(Graphics::AnchorLocation::Center);
        mWorld.AddGraphic(&mPlayer);
        // The minimap's frame and picture stay put on screen: a scroll factor of 0 ignores the camera.
        mFrame.SetScrollFactor({0.0f, 0.0f});
        mMap.SetScrollFactor({0.0f, 0.0f});
    }

    void OnOpen() override
    {
        GameScene::OnOpen();
        const float right = static_cast<float>(Graphics::ScreenWidth());
        mFrame.SetPosition({right - 176.0f, 12.0f});
        mMap.SetPosition({right - 172.0f, 16.0f});
    }

    void OnSimulate() override
    {
        GameScene::OnSimulate();
        ++mStep;
        Core::Vector2 position = mPlayer.GetPosition();
        if (mLeft.IsDown() || mRight.IsDown() || mUp.IsDown() || mDown.IsDown()) {
            position.x += 3.0f * ((mRight.IsDown() ? 1.0f : 0.0f) - (mLeft.IsDown() ? 1.0f : 0.0f));
            position.y += 3.0f * ((mDown.IsDown() ? 1.0f : 0.0f) - (mUp.IsDown() ? 1.0f : 0.0f));
        } else {
            const float angle = static_cast<float>(mStep) * 0.01f;
            position = {kWorldWidth / 2.0f + 220.0f * std::cos(angle),
                        kWorldHeight / 2.0f + 120.0f * std::sin(angle)};
        }
        mPlayer.SetPosition(position);
        // The camera keeps the player in the middle of the screen.
        GetCamera().SetPosition(
            {position.x - Graphics::ScreenCenter().x, position.y - Graphics::ScreenCenter().y});
        if (mQuit.IsPressed()) {
            Game::GameApplication::RequestQuit();
        }
    }

protected:
    void OnUpdate(float deltaTime) override
    {
        GameScene::OnUpdate(deltaTime);
        mSecondsShown += deltaTime;
        if (mSecondsToRun > 0.0f && mSecondsShown >= mSecondsToRun) {
            Game::GameApplication::RequestQuit();
        }
    }

    void OnRender() override
    {
        GameScene::OnRender();
        // The world through the camera, on screen.
        mWorld.Render();
        // The whole world into the minimap: no camera, a quarter of the size.
        mTarget.Draw([this] {
            const Core::Vector2 camera = GetCamera().GetPosition();
            GetCamera().SetPosition({0.0f, 0.0f});
            mWorld.SetScale(kMapScale);
            mWorld.Render();
            mWorld.SetScale(1.0f);
            GetCamera().SetPosition(camera);
        });
        mFrame.Render();
        mMap.Render();
    }

private:
    Game::KeyBinding mLeft{Key::KeyLeft};
    Game::KeyBinding mRight{Key::KeyRight};
    Game::KeyBinding mUp{Key::KeyUp};
    Game::KeyBinding mDown{Key::KeyDown};
    Game::KeyBinding mQuit{Key::KeyEscape};
    World mWorld;
    Graphics::CircleShape mPlayer{14.0f, Color(ColorPalette::Yellow), {0.0f, 0.0f}, 24};
    Graphics::RenderTarget mTarget{160, 90};
    Graphics::BoxShape mFrame{168.0f, 98.0f, Color(ColorPalette::White), {0.0f, 0.0f}};
    // The target's texture, shown as any sprite's picture.
    Graphics::Sprite mMap{mTarget.GetTexture()};
    long mStep = 0;
    float mSecondsToRun;
    float mSecondsShown = 0.0f;
};

int main(int argumentCount, char** arguments)
{
    const float secondsToRun = argumentCount > 1 ? std::strtof(arguments[1], nullptr) : 0.0f;
    std::error_code error;
    std::filesystem::current_path(EXAMPLES_DIRECTORY, error);
    if (error) {
        std::fprintf(stderr, "cannot change to the examples folder %s\n", EXAMPLES_DIRECTORY);
        return EXIT_FAILURE;
    }
    Game::GameApplication application(Application::WindowMode::kWindowed, 0, 0, true);
    application.SetWindowTitle("Minimap");
    MinimapScene scene(secondsToRun);
    application.RunGame(&scene);
    return EXIT_SUCCESS;
}
