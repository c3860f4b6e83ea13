// What the logo scene sounds like: OpenAL's wave back-end records 2.5 s of fixed steps, and the
// logo sound must start about 250 ms after the scene does.
#include "marrowgate/audio/mg_audio_manager.h"
#include "marrowgate/game/mg_default_scene.h"

#include "support/audio_recording.h"

#include <gtest/gtest.h>

#include <cstdio>

using Marrowgate::Audio::theAudioManager;

// The child's part, in a process whose OpenAL writes to a file. The step that shows the scene
// also plays the logo sound hard to the listener's right as a marker, so the parent measures the
// scene's own (centred) logo sound against it: a busy machine may shift the whole recording
// against the clock, but not one step against another.
TEST(DISABLED_LogoSceneRecording, RunsTheLogoSceneForTwoAndAHalfSeconds)
{
    ASSERT_TRUE(theAudioManager.HasDevice());
    QuorvaneTest::RealTimeSteps steps;
    mgImplementation::DefaultScene& scene = mgImplementation::GetDefaultScene();
    scene.ShowLogoBefore(nullptr);
    theAudioManager.PlaySoundAt(Marrowgate::Audio::theLogoSound, false, {1.0f, 0.0f, 0.0f});
    for (int step = 1; step <= 250; ++step) {
        steps.Run(1); // a step runs once its 10 ms have passed, as the game's do
        scene.OnSimulate();
    }
}

TEST(LogoScene, TheRecordedOutputHoldsTheLogoSoundFromAboutTwoHundredFiftyMilliseconds)
{
    const QuorvaneTest::Recording recording = QuorvaneTest::RecordChildTest("DISABLED_LogoSceneRecording.*");
    ASSERT_GT(recording.left.size(), recording.sampleRate * 2u) << "less than two seconds were recorded";
    const auto marker = QuorvaneTest::Bursts(recording.right);
    const auto centred = QuorvaneTest::Bursts(recording.left);
    ASSERT_FALSE(marker.empty()) << "the marker is missing";
    ASSERT_FALSE(centred.empty()) << "the logo sound is missing";
    const double seconds =
        static_cast<double>(centred.front().first) - static_cast<double>(marker.front().first);
    std::printf("The logo sound starts %.3f s after the scene.\n", seconds / recording.sampleRate);
    // 25 steps of 10 ms; the margin is for a step that a busy machine starts late.
    EXPECT_GT(seconds / recording.sampleRate, 0.23);
    EXPECT_LT(seconds / recording.sampleRate, 0.40);
}
