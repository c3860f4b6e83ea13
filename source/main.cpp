// Program entry: opens the window, runs the game from the framework's logo (the start scene
// loads the game's shaders, audio events and scenes once the logo is on screen), and takes it
// down in the reverse order once the window has closed.
#include "marrowgate/application/mg_data_directory.h"
#include "marrowgate/core/mg_standard_streams.h"
#include "marrowgate/game/mg_game_application.h"
#include "start_scene.h"

#include "embedded/quorvane_icon.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

constexpr char kUsage[] = "Usage: quorvane [--fullscreen | --help | --version]\n"
                          "\n"
                          "Drive a car over an endless grid and collect the memory chips.\n"
                          "Up and Down drive, Left and Right turn, Space puts the car back at the\n"
                          "start, F11 or Alt+Enter switches full screen, Escape quits.\n"
                          "\n"
                          "  --fullscreen  start in full screen\n"
                          "  --help        show this text and exit\n"
                          "  --version     show the version and exit\n";

// Returns the exit code when the arguments ask for something other than the game.
int HandleArguments(int argumentCount, char** arguments, bool& runGame, bool& fullScreen)
{
    fullScreen = argumentCount == 2 && std::string_view(arguments[1]) == "--fullscreen";
    runGame = argumentCount == 1 || fullScreen;
    if (runGame) {
        return EXIT_SUCCESS;
    }
    const std::string_view argument = arguments[1];
    if (argumentCount == 2 && argument == "--help") {
        std::fputs(kUsage, stdout);
        return EXIT_SUCCESS;
    }
    if (argumentCount == 2 && argument == "--version") {
        std::printf("quorvane %s\n", QUORVANE_VERSION);
        return EXIT_SUCCESS;
    }
    std::fprintf(stderr, "quorvane: unknown argument '%s'\n\n%s", arguments[1], kUsage);
    return 2;
}

void RunQuorvane(bool fullScreen)
{
    Marrowgate::Game::GameApplication application(Marrowgate::Application::WindowMode::kWindowed, 0, 0, true);
    application.SetWindowTitle("Quorvane");
    application.SetWindowIcon(quorvane_icon());
    if (fullScreen) {
        // A display that refuses leaves the game in its window; that is reported and play goes on.
        application.SetFullScreen(true);
    }
    // Declared after the application, so what it loaded goes before the window's context.
    StartScene start(kSplashScene);
    application.RunGame(&start);
}

} // namespace

int main(int argumentCount, char** arguments)
{
    // Already done before static start-up; named here so that the guard is linked in.
    Marrowgate::Core::GuardStandardStreams();
    bool runGame = false;
    bool fullScreen = false;
    const int exitCode = HandleArguments(argumentCount, arguments, runGame, fullScreen);
    if (!runGame) {
        return exitCode;
    }
    Marrowgate::Application::DataDirectorySearch dataSearch;
    // Files no other program's "data" folder is likely to hold.
    dataSearch.markers = {"audio/audio_events.json", "shaders/basic_object_shader.vert"};
    dataSearch.programName = "quorvane";
    dataSearch.installedDirectory = QUORVANE_DATA_INSTALL_DIR;
    dataSearch.buildDirectory = QUORVANE_BUILD_DIR;
    dataSearch.sourceDirectory = QUORVANE_SOURCE_DIR;
    if (!Marrowgate::Application::ChangeToDataDirectory(dataSearch)) {
        return EXIT_FAILURE;
    }
    RunQuorvane(fullScreen);
    return EXIT_SUCCESS;
}
