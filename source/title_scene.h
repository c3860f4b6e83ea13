#pragma once
// TitleScene: the game's name in the middle of the screen. It fades in over half a second; Space
// or a left click (on press, also during the fade-in) fades it out over half a second and then
// requests play; releasing Escape quits. On a game controller the south button and Start start,
// Back quits. Opening the scene again starts it over.
//
// The title stays centred when the window changes size (a switch to full screen).
//
// Depends on: the framework's scenes, text, key bindings and game timer; the scene manager.

#include "marrowgate/game/mg_game_scene.h"
#include "marrowgate/game/mg_game_timer.h"
#include "marrowgate/game/mg_key_binding.h"
#include "marrowgate/graphics/mg_text.h"

class TitleScene : public Marrowgate::Game::GameScene
{
public:
    TitleScene();
    ~TitleScene() override;

    void OnSimulate() override;
    void OnOpen() override;
    void OnRender() override;

    const Marrowgate::Graphics::Text& GetTitle() const { return *mTitle; }
    const Marrowgate::Game::GameTimer& GetFadeInTimer() const { return mFadeInTimer; }
    const Marrowgate::Game::GameTimer& GetFadeOutTimer() const { return mFadeOutTimer; }

private:
    void FadeIn();
    void FadeOutOrStart();

    Marrowgate::Graphics::Text* mTitle = nullptr; // owned by the scene's managed graphics
    Marrowgate::Game::GameTimer mFadeInTimer;
    Marrowgate::Game::GameTimer mFadeOutTimer;
    Marrowgate::Game::KeyBinding mStartKeys{
        Marrowgate::Application::KeySpace, Marrowgate::Application::MouseLeft,
        Marrowgate::Application::ControllerSouth, Marrowgate::Application::ControllerStart};
    Marrowgate::Game::KeyBinding mQuitKeys{Marrowgate::Application::KeyEscape,
                                           Marrowgate::Application::ControllerBack};
};
