#pragma once
// SplashScene: the studio logo, faded in over the first second, shown until 3.5 s and faded out
// by 4 s, after which the title is requested. Escape, Space or a left click (on release) jumps
// straight to the fade-out. Times are counted in fixed steps, so the splash lasts exactly 400
// steps when left alone. A game controller's south button and Back skip as Space and Escape do.
// Opening the scene again starts it over. The logo stays centred when the window changes size.
//
// Depends on: the framework's scenes, sprites, key bindings and game timer; the scene manager.

#include "marrowgate/game/mg_game_scene.h"
#include "marrowgate/game/mg_game_timer.h"
#include "marrowgate/game/mg_key_binding.h"
#include "marrowgate/graphics/mg_sprite.h"

class SplashScene : public Marrowgate::Game::GameScene
{
public:
    SplashScene();
    ~SplashScene() override;

    void OnSimulate() override;
    void OnOpen() override;
    void OnRender() override;

    const Marrowgate::Graphics::Sprite& GetLogo() const { return mLogo; }
    const Marrowgate::Game::GameTimer& GetSplashTimer() const { return mSplashTimer; }

private:
    void FadeWithTimer();

    Marrowgate::Graphics::Sprite mLogo;
    Marrowgate::Game::GameTimer mSplashTimer;
    Marrowgate::Game::KeyBinding mSkipKeys{
        Marrowgate::Application::KeyEscape, Marrowgate::Application::KeySpace,
        Marrowgate::Application::MouseLeft, Marrowgate::Application::ControllerSouth,
        Marrowgate::Application::ControllerBack};
};
