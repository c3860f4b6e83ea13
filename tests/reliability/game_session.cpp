#include "game_session.h"

#include "marrowgate/game/mg_game_application.h"
#include "start_scene.h"

#include <filesystem>

namespace QuorvaneReliability {

void RunGameSession(const GameSessionOptions& options)
{
    std::filesystem::current_path(QUORVANE_SOURCE_DIR);
    Marrowgate::Game::GameApplication application(Marrowgate::Application::WindowMode::kWindowed, 0, 0,
                                                  options.verticalSync);
    if (options.afterWindowOpened) {
        options.afterWindowOpened();
    }
    application.SetWindowTitle("Quorvane");
    StartScene start(options.firstScene);
    application.RunGame(&start);
}

} // namespace QuorvaneReliability
