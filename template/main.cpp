// My game: a window with one scene. Start here and grow it.
#include "marrowgate/application/mg_data_directory.h"
#include "marrowgate/game/mg_game_application.h"
#include "marrowgate/game/mg_game_scene.h"
#include "marrowgate/game/mg_key_binding.h"
#include "marrowgate/graphics/mg_screen.h"
#include "marrowgate/graphics/mg_text.h"

#include <cstdlib>

using namespace Marrowgate;

class TitleScene : public Game::GameScene
{
public:
    explicit TitleScene(float secondsToRun) : mSecondsToRun(secondsToRun)
    {
        mTitle.SetText("My Game", 72.0f);
        AddGraphic(&mTitle);
    }

    void OnOpen() override
    {
        GameScene::OnOpen();
        mTitle.SetOrigin(Graphics::AnchorLocation::Center);
        mTitle.SetPosition(Graphics::ScreenCenter());
    }

    // Game logic goes here: it runs in fixed steps of 10 ms.
    void OnSimulate() override
    {
        GameScene::OnSimulate();
        if (mQuit.IsPressed()) {
            Game::GameApplication::RequestQuit();
        }
    }

protected:
    // Once per frame, with the real time since the last one: animation and display go here.
    void OnUpdate(float deltaTime) override
    {
        GameScene::OnUpdate(deltaTime);
        mSecondsShown += deltaTime;
        if (mSecondsToRun > 0.0f && mSecondsShown >= mSecondsToRun) {
            Game::GameApplication::RequestQuit();
        }
    }

private:
    Graphics::Text mTitle;
    Game::KeyBinding mQuit{Application::KeyEscape};
    float mSecondsToRun;
    float mSecondsShown = 0.0f;
};

int main(int argumentCount, char** arguments)
{
    // An optional time limit in seconds, handy for automated runs.
    const float secondsToRun = argumentCount > 1 ? std::strtof(arguments[1], nullptr) : 0.0f;
    // Files are opened by paths relative to the working directory ("data/..."): this moves to
    // the folder that holds the game's data/, recognised by files only it holds.
    Application::DataDirectorySearch dataSearch;
    dataSearch.markers = {"README.md"}; // name your own game's files here
    dataSearch.programName = "my_game";
    dataSearch.buildDirectory = GAME_BUILD_DIRECTORY;
    dataSearch.sourceDirectory = GAME_SOURCE_DIRECTORY;
    if (!Application::ChangeToDataDirectory(dataSearch)) {
        return EXIT_FAILURE;
    }
    Game::GameApplication application(Application::WindowMode::kWindowed, 0, 0, true);
    application.SetWindowTitle("My Game");
    TitleScene scene(secondsToRun);
    application.RunGame(&scene);
    return EXIT_SUCCESS;
}
