// The audio manager without a device.
#include "marrowgate/audio/mg_audio_manager.h"

#include "marrowgate/audio/implementation/mgi_audio_data.h"

#include "audio_test_support.h"
#include "support/child_process.h"
#include "support/error_capture.h"

#include <gtest/gtest.h>

using Marrowgate::Audio::AudioChannel;
using Marrowgate::Audio::AudioHandle;
using Marrowgate::Audio::theAudioManager;
using Marrowgate::Audio::theLogoSound;
using QuorvaneTest::ErrorCapture;

// Runs in a child process whose OpenAL has no back-end at all.
TEST(DISABLED_NoDeviceChild, ReportsOnceThenEverythingIsSilent)
{
    ErrorCapture errors;
    theAudioManager.Restart();
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.Last(), "AudioManager could not create the default audio device.");
    EXPECT_FALSE(theAudioManager.HasDevice());

    // Sounds are still read and checked, and get their handles.
    const AudioHandle blip = theAudioManager.CreateSoundFromFile(
        AudioTest::WriteTemporaryFile("silent.wav", AudioTest::SimpleWave(1, 44100, 16, 441)));
    EXPECT_EQ(blip, 1u);
    EXPECT_EQ(theAudioManager.FindSound(blip)->audioData->GetDataSize(), 882u);
    EXPECT_EQ(theAudioManager.FindSound(blip)->audioData->GetBuffer(), 0u);

    const AudioChannel logo = theAudioManager.PlaySound(theLogoSound, false, false);
    EXPECT_EQ(theLogoSound, 2u);
    EXPECT_EQ(logo.channelIdentifier, 0u);
    EXPECT_EQ(theAudioManager.PlaySound(blip, true, true).channelIdentifier, 0u);
    for (int step = 0; step < 500; ++step) {
        theAudioManager.Update();
    }
    EXPECT_EQ(theAudioManager.GetActivePlayerCount(), 0u);
    EXPECT_TRUE(theAudioManager.LoadEventTable("audio_events", "data/audio/audio_events.json"));

    // Everything a game does with sound is harmless and silent.
    const AudioChannel engine = theAudioManager.PlayEvent("audio_events", "engine");
    EXPECT_EQ(engine.channelIdentifier, 0u);
    EXPECT_EQ(theAudioManager.PlayEventAt("audio_events", "car_reset", {1.0f, 2.0f, 3.0f}).channelIdentifier,
              0u);
    EXPECT_EQ(theAudioManager.PlaySoundAt(blip, true, {}).channelIdentifier, 0u);
    engine.SetVolume(0.5f);
    engine.FadeOutAndStop(1.0f);
    engine.Pause();
    engine.SetPosition({1.0f, 0.0f, 0.0f});
    EXPECT_FALSE(engine.IsPlaying());
    theAudioManager.SetMasterVolume(0.5f);
    theAudioManager.SetBusVolume(Marrowgate::Audio::AudioBus::kMusic, 0.25f);
    theAudioManager.CrossfadeMusic(engine, 2.0f);
    theAudioManager.SetListener({1.0f, 0.0f, 0.0f}, {0.0f, 0.0f, -1.0f}, {0.0f, 1.0f, 0.0f});
    theAudioManager.SetDoppler(true);
    const AudioTest::Bytes wave = AudioTest::SimpleWave(1, 22050, 8, 100);
    EXPECT_EQ(theAudioManager.FindSound(theAudioManager.CreateSoundFromMemory(wave.data(), wave.size()))
                  ->audioData->GetDataSize(),
              100u);
    theAudioManager.Update(0.01f);
    EXPECT_FLOAT_EQ(theAudioManager.GetBusVolume(Marrowgate::Audio::AudioBus::kMusic), 0.25f);
    EXPECT_EQ(errors.messages.size(), 1u);
}

// Also in a child without a back-end: a program that never asks for sound (one that prints its
// version and leaves) never opens the device, and so never says that there is none.
TEST(DISABLED_UnopenedChild, TheDeviceOpensOnlyWhenFirstNeededAndOnlyOnce)
{
    ErrorCapture errors;
    EXPECT_EQ(theAudioManager.GetActivePlayerCount(), 0u);
    EXPECT_EQ(theAudioManager.FindEventTable("audio_events"), nullptr);
    theAudioManager.Update();
    EXPECT_FALSE(errors.Fired());

    theAudioManager.Open();
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.Last(), "AudioManager could not create the default audio device.");
    theAudioManager.Open();
    EXPECT_FALSE(theAudioManager.HasDevice());
    EXPECT_EQ(errors.messages.size(), 1u);
}

TEST(AudioManagerWithoutDevice, ReportsOnceAndRunsSilently)
{
    EXPECT_EQ(QuorvaneTest::RunTestInChildProcess("DISABLED_NoDeviceChild.*",
                                                  {{"ALSOFT_DRIVERS", "no-such-backend"}}),
              0);
}

TEST(AudioManagerWithoutDevice, OpensNothingUntilAskedAndThenReportsOnce)
{
    EXPECT_EQ(QuorvaneTest::RunTestInChildProcess("DISABLED_UnopenedChild.*",
                                                  {{"ALSOFT_DRIVERS", "no-such-backend"}}),
              0);
}
