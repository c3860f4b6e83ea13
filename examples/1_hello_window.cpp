// Example 1: a window with text, the framework's hello world.
//
// A game is a GameApplication (the window and the loop) running GameScenes. A scene is a list of
// graphics and entities; whatever is added to it is updated and drawn every frame. Before the
// first scene the framework shows its own logo for two and a half seconds.
//
// Usage: example_1_hello_window [seconds]   (quits after that many seconds of the scene; 0 or
// nothing runs until the window is closed)
#include "marrowgate/game/mg_game_application.h"
#include "marrowgate/game/mg_game_scene.h"
#include "marrowgate/graphics/mg_screen.h"
#include "marrowgate/graphics/mg_text.h"

#include <cstdlib>

using namespace Marrowgate;

class HelloScene : public Game::GameScene
{
public:
    explicit HelloScene(float secondsToRun) : mSecondsToRun(secondsToRun)
    {
        // The built-in font (empty font name) needs no data files.
        mGreeting.SetText("Hello, Marrowgate!", 64.0f);
        mGreeting.SetColor(Graphics::Color(Graphics::ColorPalette::Yellow));
        mHint.SetText("Close the window to quit.", 25.0f);
        mHint.SetColor(Graphics::Color(Graphics::ColorPalette::LightGrey));
        // The caller keeps these two alive: AddGraphic does not take ownership.
        AddGraphic(&mGreeting);
        AddGraphic(&mHint);
    }

    void OnOpen() override
    {
        GameScene::OnOpen();
        // Centre both lines: the origin is the point of the text that sits at its position.
        const Core::Vector2 center = Graphics::ScreenCenter();
        mGreeting.SetOrigin(Graphics::AnchorLocation::Center);
        mGreeting.SetPosition(center);
        mHint.SetOrigin(Graphics::AnchorLocation::Center);
        mHint.SetPosition({center.x, center.y + 80.0f});
    }

protected:
    // Once per frame with the real time since the last frame (fixed steps go to OnSimulate).
    void OnUpdate(float deltaTime) override
    {
        GameScene::OnUpdate(deltaTime);
        mSecondsShown += deltaTime;
        if (mSecondsToRun > 0.0f && mSecondsShown >= mSecondsToRun) {
            Game::GameApplication::RequestQuit();
        }
    }

private:
    Graphics::Text mGreeting;
    Graphics::Text mHint;
    float mSecondsToRun;
    float mSecondsShown = 0.0f;
};

int main(int argumentCount, char** arguments)
{
    const float secondsToRun = argumentCount > 1 ? std::strtof(arguments[1], nullptr) : 0.0f;
    // 0 by 0 asks for the default 1280 x 720 window; the last argument turns vertical sync on.
    Game::GameApplication application(Application::WindowMode::kWindowed, 0, 0, true);
    application.SetWindowTitle("Hello, Marrowgate");
    // The scene is made after the application (it needs the window) and goes before it.
    HelloScene scene(secondsToRun);
    application.RunGame(&scene);
    return EXIT_SUCCESS;
}
