// What the logo scene sounds like: OpenAL's wave back-end records the output of 2.5 s of fixed
// steps in real time, and the logo sound must start about 250 ms in.
#include "marrowgate/audio/implementation/mgi_sound_decoder.h"
#include "marrowgate/audio/mg_audio_manager.h"
#include "marrowgate/game/mg_default_scene.h"

#include "support/child_process.h"
#include "support/error_capture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

using Marrowgate::Audio::theAudioManager;
using namespace std::chrono_literals;

namespace {

std::filesystem::path TemporaryPath(const std::string& name)
{
    return std::filesystem::temp_directory_path() /
           ("quorvane_logo_sound_" + std::to_string(getpid()) + "_" + name);
}

} // namespace

// The child's part, in a process whose OpenAL writes to a file: each step runs the scene's
// simulation and then the audio update, as the game application's frame does.
TEST(DISABLED_LogoSceneRecording, RunsTheLogoSceneForTwoAndAHalfSeconds)
{
    ASSERT_TRUE(theAudioManager.HasDevice());
    theAudioManager.Restart(); // the recording starts now
    mgImplementation::DefaultScene& scene = mgImplementation::GetDefaultScene();
    scene.ShowLogoBefore(nullptr);
    const auto start = std::chrono::steady_clock::now();
    for (int step = 1; step <= 250; ++step) {
        std::this_thread::sleep_until(start + step * 10ms);
        scene.OnSimulate();
        theAudioManager.Update();
    }
    // The device closes, and the file is completed, when this process ends.
}

TEST(LogoScene, TheRecordedOutputHoldsTheLogoSoundFromAboutTwoHundredFiftyMilliseconds)
{
    const std::filesystem::path output = TemporaryPath("output.wav");
    const std::filesystem::path configuration = TemporaryPath("wave.conf");
    std::ofstream(configuration)
        << "[general]\ndrivers=wave\nchannels=mono\nsample-type=int16\nfrequency=44100\n"
        << "[wave]\nfile=" << output.string() << "\n";
    ASSERT_EQ(QuorvaneTest::RunTestInChildProcess(
                  "DISABLED_LogoSceneRecording.*",
                  {{"ALSOFT_CONF", configuration.string()}, {"ALSOFT_DRIVERS", "wave"}}),
              0);

    std::ifstream file(output, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                          std::istreambuf_iterator<char>());
    std::filesystem::remove(output);
    std::filesystem::remove(configuration);
    mgImplementation::DecodedSound recording;
    {
        QuorvaneTest::ErrorCapture extensibleHeader; // the writer's "fmt " chunk is the 40-byte form
        ASSERT_TRUE(mgImplementation::ParseWave(bytes, output.string(), recording));
    }
    ASSERT_EQ(recording.bitsPerSample, 16);
    ASSERT_EQ(recording.channels, 1);
    const auto* samples = reinterpret_cast<const std::int16_t*>(recording.samples.data());
    const std::size_t sampleCount = recording.samples.size() / 2;
    ASSERT_GT(sampleCount, recording.sampleRate * 2u) << "less than two seconds were recorded";

    std::size_t firstSound = 0;
    while (firstSound < sampleCount && std::abs(samples[firstSound]) <= 300) {
        ++firstSound;
    }
    ASSERT_LT(firstSound, sampleCount) << "the recording is silent";
    const double seconds = static_cast<double>(firstSound) / recording.sampleRate;
    std::printf("The logo sound starts %.3f s into the recording.\n", seconds);
    // The steps keep time to a few milliseconds and the mixer adds up to one update period; the
    // rest of the margin is for a busy machine.
    EXPECT_GT(seconds, 0.23);
    EXPECT_LT(seconds, 0.40);
}
