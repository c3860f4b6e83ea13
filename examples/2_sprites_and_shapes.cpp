// Example 2: sprites and shapes moved by key bindings, with the 2D camera and its shake.
//
// A Sprite draws a picture from a PNG file; BoxShape and CircleShape draw filled shapes. A
// KeyBinding groups keys that mean the same thing, and is read in OnSimulate, the fixed 10 ms
// step, where movement belongs so that it runs at the same speed at any frame rate. The scene's
// camera scrolls everything whose scroll factor is not zero, and can shake.
//
// Arrows or W A S D move the ball, J and L scroll the camera, Space shakes it, Escape quits.
// Usage: example_2_sprites_and_shapes [seconds]
#include "marrowgate/game/mg_game_application.h"
#include "marrowgate/game/mg_game_scene.h"
#include "marrowgate/game/mg_key_binding.h"
#include "marrowgate/graphics/mg_basic_shapes.h"
#include "marrowgate/graphics/mg_screen.h"
#include "marrowgate/graphics/mg_sprite.h"
#include "marrowgate/graphics/mg_text.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

using namespace Marrowgate;
using Application::Key;
using Graphics::Color;
using Graphics::ColorPalette;

namespace {

constexpr float kBallPixelsPerStep = 4.0f;
constexpr float kCameraPixelsPerStep = 3.0f;

} // namespace

class SpritesScene : public Game::GameScene
{
public:
    explicit SpritesScene(float secondsToRun) : mSecondsToRun(secondsToRun)
    {
        // Shapes take their size, colour and position at construction. Lower depths draw first.
        mGround.SetDepth(-0.5f);
        mSun.SetDepth(-0.5f);
        AddGraphic(&mGround);
        AddGraphic(&mSun);
        for (int index = 0; index < 5; ++index) {
            // The list owns these and deletes them with the scene.
            auto* block = new Graphics::BoxShape(60.0f, 60.0f, Color(ColorPalette::Green),
                                                 {200.0f + 200.0f * static_cast<float>(index), 500.0f});
            AddManagedGraphic(block);
        }
        // The ball turns about its centre rather than its top-left corner.
        mBall.SetOrigin(Graphics::AnchorLocation::Center);
        mBall.SetPosition(Graphics::ScreenCenter());
        AddGraphic(&mBall);
        // A scroll factor of zero pins the help text to the screen: the camera does not move it.
        mHelp.SetScrollFactor({0.0f, 0.0f});
        mHelp.SetPosition({20.0f, 20.0f});
        AddGraphic(&mHelp);
    }

    void OnSimulate() override
    {
        GameScene::OnSimulate();
        Core::Vector2 position = mBall.GetPosition();
        position.x += kBallPixelsPerStep * (Axis(mRight) - Axis(mLeft));
        position.y += kBallPixelsPerStep * (Axis(mDown) - Axis(mUp));
        mBall.SetPosition(position);
        mBall.SetOrientation(mBall.GetOrientation() + 1.0f);

        Core::Vector2 camera = GetCamera().GetPosition();
        camera.x += kCameraPixelsPerStep * (Axis(mCameraRight) - Axis(mCameraLeft));
        GetCamera().SetPosition({camera.x, 0.0f});
        // IsPressed is true for exactly one step per key press.
        if (mShake.IsPressed()) {
            GetCamera().Shake(8.0f, 0.5f);
        }
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

private:
    static float Axis(const Game::KeyBinding& binding) { return binding.IsDown() ? 1.0f : 0.0f; }

    Game::KeyBinding mLeft{Key::KeyLeft, Key::KeyA};
    Game::KeyBinding mRight{Key::KeyRight, Key::KeyD};
    Game::KeyBinding mUp{Key::KeyUp, Key::KeyW};
    Game::KeyBinding mDown{Key::KeyDown, Key::KeyS};
    Game::KeyBinding mCameraLeft{Key::KeyJ};
    Game::KeyBinding mCameraRight{Key::KeyL};
    Game::KeyBinding mShake{Key::KeySpace};
    Game::KeyBinding mQuit{Key::KeyEscape};

    Graphics::BoxShape mGround{1280.0f, 160.0f, Color(ColorPalette::Brown), {0.0f, 560.0f}};
    Graphics::CircleShape mSun{50.0f, Color(ColorPalette::Yellow), {1050.0f, 60.0f}, 32};
    // Loaded from data/ (see main); the texture is shared by every sprite of the same file.
    Graphics::Sprite mBall{"data/images/ball.png"};
    Graphics::Text mHelp{"Arrows move the ball, J and L scroll, Space shakes", 22.0f};
    float mSecondsToRun;
    float mSecondsShown = 0.0f;
};

int main(int argumentCount, char** arguments)
{
    const float secondsToRun = argumentCount > 1 ? std::strtof(arguments[1], nullptr) : 0.0f;
    // Files are opened relative to the working directory, so the example works from its own
    // folder, which holds data/. A game would rather call Application::ChangeToDataDirectory
    // (see the template), which also finds an installed data folder.
    std::error_code error;
    std::filesystem::current_path(EXAMPLES_DIRECTORY, error);
    if (error) {
        std::fprintf(stderr, "cannot change to the examples folder %s\n", EXAMPLES_DIRECTORY);
        return EXIT_FAILURE;
    }
    Game::GameApplication application(Application::WindowMode::kWindowed, 0, 0, true);
    application.SetWindowTitle("Sprites and shapes");
    SpritesScene scene(secondsToRun);
    application.RunGame(&scene);
    return EXIT_SUCCESS;
}
