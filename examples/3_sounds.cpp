// Example 3: sounds and music through an audio event table.
//
// Game code names sounds by event ("blip"), not by file: an event table (a JSON file) says which
// files an event may play, how loud and at what pitch, and whether it loops or is music. This
// keeps sound design in data, where it can change without a rebuild. The audio manager loads
// every file of a table once; playing an event picks one of its variants (never the same one
// twice in a row) at the volume and pitch the table gives. Example 7 controls what plays.
//
// 1 plays "blip" (one of two variants at random), 2 plays "whoosh"; the music starts with the
// scene and loops. Every second the scene plays a blip by itself, so it is never silent.
// Without a sound device the manager says so once and the example runs silently.
// Usage: example_3_sounds [seconds]
#include "marrowgate/audio/mg_audio_manager.h"
#include "marrowgate/game/mg_game_application.h"
#include "marrowgate/game/mg_game_scene.h"
#include "marrowgate/game/mg_game_timer.h"
#include "marrowgate/game/mg_key_binding.h"
#include "marrowgate/graphics/mg_basic_shapes.h"
#include "marrowgate/graphics/mg_text.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace Marrowgate;
using Application::Key;
using Graphics::Color;
using Graphics::ColorPalette;

namespace {

constexpr char kTableName[] = "example_events";

} // namespace

class SoundScene : public Game::GameScene
{
public:
    explicit SoundScene(float secondsToRun) : mSecondsToRun(secondsToRun)
    {
        mTitle.SetPosition({40.0f, 40.0f});
        mHelp.SetPosition({40.0f, 110.0f});
        mPlayers.SetPosition({40.0f, 160.0f});
        mPlayers.SetColor(Color(ColorPalette::SkyBlue));
        AddGraphic(&mTitle);
        AddGraphic(&mHelp);
        AddGraphic(&mPlayers);
        AddGraphic(&mFlash);
    }

    void OnOpen() override
    {
        GameScene::OnOpen();
        Audio::theAudioManager.PlayEvent(kTableName, "music");
    }

    // Sounds start in fixed steps, where key presses are seen exactly once.
    void OnSimulate() override
    {
        GameScene::OnSimulate();
        if (mBlipKey.IsPressed() || mMetronome.DecrementStep()) {
            Audio::theAudioManager.PlayEvent(kTableName, "blip");
            mMetronome = 1000;
            mFlashTimer = 150;
        }
        if (mWhooshKey.IsPressed()) {
            Audio::theAudioManager.PlayEvent(kTableName, "whoosh");
            mFlashTimer = 400;
        }
        mFlashTimer.DecrementStep();
        mFlash.SetVisible(!mFlashTimer.IsZero());
    }

protected:
    void OnUpdate(float deltaTime) override
    {
        GameScene::OnUpdate(deltaTime);
        mPlayers.SetText("Sounds playing: " + std::to_string(Audio::theAudioManager.GetActivePlayerCount()) +
                         (Audio::theAudioManager.HasDevice() ? "" : " (no sound device)"));
        mSecondsShown += deltaTime;
        if (mSecondsToRun > 0.0f && mSecondsShown >= mSecondsToRun) {
            Game::GameApplication::RequestQuit();
        }
    }

private:
    Game::KeyBinding mBlipKey{Key::Key1};
    Game::KeyBinding mWhooshKey{Key::Key2};
    // Game timers count fixed steps, so they run at the simulation's pace, not the clock's.
    Game::GameTimer mMetronome = 1000;
    Game::GameTimer mFlashTimer;
    Graphics::Text mTitle{"Sounds and music", 48.0f};
    Graphics::Text mHelp{"1: blip    2: whoosh    (the music loops)", 25.0f};
    Graphics::Text mPlayers{"", 25.0f};
    Graphics::CircleShape mFlash{60.0f, Color(ColorPalette::Magenta), {580.0f, 300.0f}, 40};
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
    application.SetWindowTitle("Sounds");
    // A table that cannot be read has been reported through the error facility already.
    if (!Audio::theAudioManager.LoadEventTable(kTableName, "data/audio/example_events.json")) {
        return EXIT_FAILURE;
    }
    SoundScene scene(secondsToRun);
    application.RunGame(&scene);
    return EXIT_SUCCESS;
}
