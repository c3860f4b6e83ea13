#include "game_session.h"

#include "marrowgate/audio/mg_audio_manager.h"
#include "marrowgate/game/mg_game_application.h"

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
    LoadShaders();
    Marrowgate::Audio::theAudioManager.LoadEventTable("audio_events", "data/audio/audio_events.json");
    SceneManager::Create();
    application.RunGame(SceneManager::GetScene(options.firstScene));
    SceneManager::Destroy();
    UnloadShaders();
}

} // namespace QuorvaneReliability
