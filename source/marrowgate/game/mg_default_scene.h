#pragma once
/// The framework's own scene: shows the framework logo centred for 2500 ms, fading it out over
/// the last 350 ms, plays the logo sound after 250 ms, then changes to the game's first scene.
/// Escape, Space, a left click or a game controller's south button or Back (on release) jumps
/// to the fade-out. During development MARROWGATE_SKIP_LOGO=1 in the environment leaves the
/// logo out altogether (RunGame then opens the first scene in the first frame).
/// @file
/// The game application uses the one instance (GetDefaultScene) as its fallback whenever it has
/// no current scene, and RunGame prepares it with ShowLogoBefore. The logo is a 256 x 256 PNG
/// compiled into the program; its texture is made on the first render and kept for the run.
/// Depends on: graphics (texture manager, sprite, screen metrics), the game application
/// (ChangeToScene), audio (the logo sound).

#include "marrowgate/game/mg_game_scene.h"
#include "marrowgate/game/mg_game_timer.h"
#include "marrowgate/game/mg_key_binding.h"
#include "marrowgate/graphics/mg_color.h"

#include <memory>

namespace Marrowgate::Graphics {
class Sprite;
}

namespace mgImplementation {

class DefaultScene : public Marrowgate::Game::GameScene
{
public:
    static constexpr std::uint32_t kDisplayMilliseconds = 2500;
    static constexpr std::uint32_t kFadeMilliseconds = 350;
    static constexpr std::uint32_t kSoundDelayMilliseconds = 250;

    DefaultScene();
    ~DefaultScene() override;

    // Starts the logo display; targetScene follows when it ends.
    void ShowLogoBefore(Marrowgate::Game::GameScene* targetScene);

    // Counts the display and sound timers down by one step each.
    void OnSimulate() override;

    // MARROWGATE_SKIP_LOGO is set in the environment to anything but 0.
    static bool IsLogoSkipped();

    const Marrowgate::Graphics::Color& GetLogoColor() const { return mLogoColor; }
    Marrowgate::Game::GameScene* GetTargetScene() const { return mTargetScene; }

protected:
    void OnRender() override;

private:
    Marrowgate::Game::GameScene* mTargetScene = nullptr;
    Marrowgate::Game::GameTimer mDisplayTimer;
    Marrowgate::Game::GameTimer mSoundTimer;
    Marrowgate::Graphics::Color mLogoColor;
    std::unique_ptr<Marrowgate::Graphics::Sprite> mLogo;
    Marrowgate::Game::KeyBinding mSkipKeys{
        Marrowgate::Application::KeyEscape, Marrowgate::Application::KeySpace,
        Marrowgate::Application::MouseLeft, Marrowgate::Application::ControllerSouth,
        Marrowgate::Application::ControllerBack};
};

// The process-wide instance, made on first use.
DefaultScene& GetDefaultScene();

} // namespace mgImplementation
