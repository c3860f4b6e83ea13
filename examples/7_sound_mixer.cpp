// Example 7: a sound mixer: buses, fades, a streamed Ogg Vorbis track and a 3D sound.
//
// Every sound plays on a bus, music or effects, under one master volume; all three are linear
// gains from 0 to 1. Playing an event by name returns a channel that can be faded, paused,
// stopped or moved while it lasts (and ignores all that once it has ended). The music is one
// Ogg Vorbis file streamed from disk, decoded a few seconds at a time; a crossfade swaps it for
// another track without a dip in loudness. The hum is a 3D sound circling the listener: it is
// louder on the side it is on.
//
// Up/Down: master volume. Q/A: music bus. W/S: effects bus. Space: a blip. M: crossfade the
// music to the other track. P: pause or resume the hum. The view is from above: the white dot
// is the listener, facing up the screen; the magenta one is the hum.
// Usage: example_7_sound_mixer [seconds]
#include "marrowgate/audio/mg_audio_manager.h"
#include "marrowgate/game/mg_game_application.h"
#include "marrowgate/game/mg_game_scene.h"
#include "marrowgate/game/mg_game_timer.h"
#include "marrowgate/game/mg_key_binding.h"
#include "marrowgate/graphics/mg_basic_shapes.h"
#include "marrowgate/graphics/mg_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>

using namespace Marrowgate;
using Application::Key;
using Audio::AudioBus;
using Audio::theAudioManager;
using Core::Vector2;
using Core::Vector3;
using Graphics::Color;
using Graphics::ColorPalette;

namespace {

constexpr char kTableName[] = "mixer";
constexpr float kOrbitRadius = 3.0f;    // world units (metres, say) from the listener
constexpr float kOrbitSeconds = 6.0f;   // one turn
constexpr float kPixelsPerUnit = 60.0f; // the top-down view's scale
constexpr Vector2 kListenerOnScreen{880.0f, 420.0f};
constexpr float kBarWidth = 300.0f;

// One volume slider: a label and a bar whose length is the gain.
struct VolumeBar
{
    VolumeBar(const std::string& name, float top) : label(name, 25.0f)
    {
        label.SetPosition({40.0f, top});
        bar.SetPosition({220.0f, top + 4.0f});
    }

    void Show(float volume) { bar.SetScale(Vector2{std::max(volume, 0.001f), 1.0f}); }

    Graphics::Text label;
    Graphics::BoxShape bar{kBarWidth, 24.0f, Color(ColorPalette::SkyBlue), {0.0f, 0.0f}};
};

// Adds `change` to a volume, kept within 0 to 1.
float Nudge(float volume, float change)
{
    return std::clamp(volume + change, 0.0f, 1.0f);
}

} // namespace

class MixerScene : public Game::GameScene
{
public:
    explicit MixerScene(float secondsToRun) : mSecondsToRun(secondsToRun)
    {
        mTitle.SetPosition({40.0f, 30.0f});
        mHelp.SetPosition({40.0f, 95.0f});
        mMusicName.SetPosition({40.0f, 380.0f});
        mMusicName.SetColor(Color(ColorPalette::SkyBlue));
        AddGraphic(&mTitle);
        AddGraphic(&mHelp);
        AddGraphic(&mMusicName);
        for (VolumeBar* bar : {&mMaster, &mMusic, &mEffects}) {
            AddGraphic(&bar->label);
            AddGraphic(&bar->bar);
        }
        AddGraphic(&mOrbitRing);
        AddGraphic(&mListener);
        AddGraphic(&mHum);
    }

    void OnOpen() override
    {
        GameScene::OnOpen();
        // Facing -z with y up: on screen, up is -z and right is +x.
        theAudioManager.SetListener({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, -1.0f}, {0.0f, 1.0f, 0.0f});
        mMusicChannel = theAudioManager.PlayEvent(kTableName, "theme");
        mMusicChannel.FadeIn(2.0f);
        // A 3D sound that follows a point we move every step.
        mHumChannel = theAudioManager.PlayEventAt(kTableName, "hum", HumPosition());
        mHumChannel.Follow([this] { return HumPosition(); });
    }

    void OnClose() override
    {
        // The hum's follow function reads this scene: end it while the scene is still here.
        mHumChannel.Stop();
        mMusicChannel.FadeOutAndStop(0.5f);
        GameScene::OnClose();
    }

    void OnSimulate() override
    {
        GameScene::OnSimulate();
        mOrbitAngle += 2.0f * 3.14159265f * 0.01f / kOrbitSeconds;
        ReadVolumeKeys();
        if (mBlipKey.IsPressed() || mMetronome.DecrementStep()) {
            theAudioManager.PlayEvent(kTableName, "blip");
            mMetronome = 1500;
        }
        // The first crossfade comes by itself, so a short run hears one.
        if (mSwapKey.IsPressed() || mFirstSwap.DecrementStep()) {
            SwapMusic();
        }
        if (mPauseKey.IsPressed()) {
            mHumChannel.IsPaused() ? mHumChannel.Resume() : mHumChannel.Pause();
        }
    }

protected:
    void OnUpdate(float deltaTime) override
    {
        GameScene::OnUpdate(deltaTime);
        mMaster.Show(theAudioManager.GetMasterVolume());
        mMusic.Show(theAudioManager.GetBusVolume(AudioBus::kMusic));
        mEffects.Show(theAudioManager.GetBusVolume(AudioBus::kEffects));
        const Vector3 hum = HumPosition();
        mHum.SetPosition(kListenerOnScreen + Vector2{hum.x, hum.z} * kPixelsPerUnit - Vector2{18.0f, 18.0f});
        mMusicName.SetText(std::string("Music: ") +
                           (mPlayingTheme ? "theme.ogg (streamed)" : "music_loop.wav") +
                           (theAudioManager.HasDevice() ? "" : "   (no sound device)"));
        mSecondsShown += deltaTime;
        if (mSecondsToRun > 0.0f && mSecondsShown >= mSecondsToRun) {
            Game::GameApplication::RequestQuit();
        }
    }

private:
    Vector3 HumPosition() const
    {
        return {kOrbitRadius * std::cos(mOrbitAngle), 0.0f, kOrbitRadius * std::sin(mOrbitAngle)};
    }

    void ReadVolumeKeys()
    {
        if (mMasterUp.IsPressed() || mMasterDown.IsPressed()) {
            theAudioManager.SetMasterVolume(
                Nudge(theAudioManager.GetMasterVolume(), mMasterUp.IsPressed() ? 0.1f : -0.1f));
        }
        for (const auto& [bus, up, down] : {std::tuple{AudioBus::kMusic, &mMusicUp, &mMusicDown},
                                            std::tuple{AudioBus::kEffects, &mEffectsUp, &mEffectsDown}}) {
            if (up->IsPressed() || down->IsPressed()) {
                theAudioManager.SetBusVolume(
                    bus, Nudge(theAudioManager.GetBusVolume(bus), up->IsPressed() ? 0.1f : -0.1f));
            }
        }
    }

    // The new track starts silent and rises while the old one falls and stops, over 2 s.
    void SwapMusic()
    {
        mPlayingTheme = !mPlayingTheme;
        mMusicChannel = theAudioManager.PlayEvent(kTableName, mPlayingTheme ? "theme" : "groove");
        theAudioManager.CrossfadeMusic(mMusicChannel, 2.0f);
    }

    Game::KeyBinding mMasterUp{Key::KeyUp};
    Game::KeyBinding mMasterDown{Key::KeyDown};
    Game::KeyBinding mMusicUp{Key::KeyQ};
    Game::KeyBinding mMusicDown{Key::KeyA};
    Game::KeyBinding mEffectsUp{Key::KeyW};
    Game::KeyBinding mEffectsDown{Key::KeyS};
    Game::KeyBinding mBlipKey{Key::KeySpace};
    Game::KeyBinding mSwapKey{Key::KeyM};
    Game::KeyBinding mPauseKey{Key::KeyP};
    Game::GameTimer mMetronome = 1500;
    Game::GameTimer mFirstSwap = 4000;

    Audio::AudioChannel mMusicChannel;
    Audio::AudioChannel mHumChannel;
    bool mPlayingTheme = true;
    float mOrbitAngle = 0.0f;

    Graphics::Text mTitle{"Sound mixer", 48.0f};
    Graphics::Text mHelp{"Up/Down master   Q/A music   W/S effects   Space blip   M swap music   P pause hum",
                         20.0f};
    Graphics::Text mMusicName{"", 22.0f};
    VolumeBar mMaster{"Master", 170.0f};
    VolumeBar mMusic{"Music", 220.0f};
    VolumeBar mEffects{"Effects", 270.0f};
    Graphics::CircleShape mOrbitRing{kOrbitRadius * kPixelsPerUnit, Color(ColorPalette::DarkGrey),
                                     kListenerOnScreen - Vector2{kOrbitRadius, kOrbitRadius} * kPixelsPerUnit,
                                     64};
    Graphics::CircleShape mListener{14.0f, Color(ColorPalette::White),
                                    kListenerOnScreen - Vector2{14.0f, 14.0f}, 24};
    Graphics::CircleShape mHum{18.0f, Color(ColorPalette::Magenta), kListenerOnScreen, 24};
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
    application.SetWindowTitle("Sound mixer");
    if (!theAudioManager.LoadEventTable(kTableName, "data/audio/mixer_events.json")) {
        return EXIT_FAILURE;
    }
    MixerScene scene(secondsToRun);
    application.RunGame(&scene);
    return EXIT_SUCCESS;
}
