// Example 10: an animated character from a sprite sheet, walking across a pixel-art view.
//
// A SpriteSheet reads data/images/hero.json: a grid of 16 x 16 frames over hero.png and named
// animations ("walk" loops four frames, with a "step" event on two of them). An AnimatedSprite
// plays them; it moves on only when the game hands it time, here one fixed step in OnSimulate,
// so the same steps always show the same frames. The view draws the game at 150 x 90 logical
// pixels and scales that up by whole multiples with sharp pixels, whatever the window's size;
// the rest of the window shows bars in the bar colour.
//
// Left and Right walk, Escape quits; without keys the character walks to and fro by itself.
// Usage: example_10_animated_character [seconds]
#include "marrowgate/game/mg_game_application.h"
#include "marrowgate/game/mg_game_scene.h"
#include "marrowgate/game/mg_game_timer.h"
#include "marrowgate/game/mg_key_binding.h"
#include "marrowgate/graphics/mg_animated_sprite.h"
#include "marrowgate/graphics/mg_basic_shapes.h"
#include "marrowgate/graphics/mg_sprite_sheet.h"
#include "marrowgate/graphics/mg_texture_manager.h"
#include "marrowgate/graphics/mg_view.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

using namespace Marrowgate;
using Application::Key;
using Graphics::Color;

namespace {

constexpr Graphics::PixelSpace kLogicalWidth = 150;
constexpr Graphics::PixelSpace kLogicalHeight = 90;
constexpr float kWalkPixelsPerStep = 0.4f;

} // namespace

class WalkingScene : public Game::GameScene
{
public:
    WalkingScene(const Graphics::SpriteSheet& sheet, float secondsToRun)
        : mHero(sheet), mSecondsToRun(secondsToRun)
    {
        AddGraphic(&mSky);
        AddGraphic(&mGround);
        // The sheet's frames are 16 x 16; the sprite's feet stand on the ground at y = 70.
        mHero.SetPosition({20.0f, 54.0f});
        mHero.Play("walk");
        // Events fire on the frames the sheet marks; a game would play a footstep sound here.
        mHero.GetPlayer().SetEventCallback([this](const Graphics::AnimationEvent&) { ++mSteps; });
        AddGraphic(&mHero);
    }

    // The view belongs to this scene: the framework's logo before it shows in the window's pixels.
    void OnOpen() override
    {
        GameScene::OnOpen();
        // Whole multiples with nearest filtering; the bars take this colour.
        Graphics::SetLogicalView(kLogicalWidth, kLogicalHeight, Graphics::ViewScaling::IntegerScale,
                                 Color(0xFF202838u));
    }

    void OnClose() override
    {
        GameScene::OnClose();
        Graphics::ResetView();
    }

    void OnSimulate() override
    {
        GameScene::OnSimulate();
        float direction = mDirection;
        if (mLeft.IsDown() || mRight.IsDown()) {
            direction = mRight.IsDown() ? 1.0f : -1.0f;
        }
        Core::Vector2 position = mHero.GetPosition();
        position.x += kWalkPixelsPerStep * direction;
        // Turn round at the edges of the view.
        if (position.x < 0.0f || position.x > kLogicalWidth - 16.0f) {
            mDirection = -mDirection;
        }
        mHero.SetPosition(position);
        mHero.SetFlipped(direction < 0.0f, false);
        mHero.Advance(Game::MillisecondsPerStep());
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
    Game::KeyBinding mLeft{Key::KeyLeft};
    Game::KeyBinding mRight{Key::KeyRight};
    Game::KeyBinding mQuit{Key::KeyEscape};
    // Sizes and places are logical pixels: the view scales them up.
    Graphics::BoxShape mSky{static_cast<float>(kLogicalWidth), 70.0f, Color(0xFF87CEEBu), {0.0f, 0.0f}};
    Graphics::BoxShape mGround{static_cast<float>(kLogicalWidth), 20.0f, Color(0xFF2E8B3Au), {0.0f, 70.0f}};
    Graphics::AnimatedSprite mHero;
    float mDirection = 1.0f;
    int mSteps = 0;
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
    application.SetWindowTitle("Animated character");
    // Loaded after the window opened, as every texture; the sheet outlives the scene below.
    const Graphics::SpriteSheet sheet = Graphics::SpriteSheet::LoadFromFile("data/images/hero.json");
    Graphics::SetTextureSmoothing(sheet.GetTexture(), false);
    WalkingScene scene(sheet, secondsToRun);
    application.RunGame(&scene);
    return EXIT_SUCCESS;
}
