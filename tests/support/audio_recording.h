#pragma once
// Records what OpenAL plays: a test's child part runs in a process whose OpenAL Soft writes its
// mix to a stereo WAV file (the wave back-end, mixing in small periods of 256 frames so that a
// change shows within 6 ms), and the parent reads the file back as two channels of floats.
// Helpers step the manager in real time in the child, and measure levels and find where sound
// starts and stops in the parent.
//
// The wave back-end mixes in real time, so a busy machine shifts when things happen in the
// recording; tests therefore time events against marker sounds played in the same step, not
// against the clock.

#include "marrowgate/audio/implementation/mgi_sound_decoder.h"
#include "marrowgate/audio/mg_audio_manager.h"

#include "support/child_process.h"
#include "support/error_capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <unistd.h>

namespace QuorvaneTest {

struct Recording
{
    std::uint32_t sampleRate = 0;
    std::vector<float> left;
    std::vector<float> right;
};

// Runs the child test and returns what it played; empty when the child failed (reported).
inline Recording RecordChildTest(const std::string& childTestName)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    const std::string stem = "quorvane_recording_" + std::to_string(getpid());
    const std::filesystem::path output = folder / (stem + ".wav");
    const std::filesystem::path configuration = folder / (stem + ".conf");
    std::ofstream(configuration) << "[general]\ndrivers=wave\nchannels=stereo\nsample-type=int16\n"
                                 << "frequency=44100\nperiod_size=256\nhrtf=false\n"
                                 << "[wave]\nfile=" << output.string() << "\n";
    const int status = RunTestInChildProcess(
        childTestName, {{"ALSOFT_CONF", configuration.string()}, {"ALSOFT_DRIVERS", "wave"}});
    std::ifstream file(output, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                          std::istreambuf_iterator<char>());
    std::filesystem::remove(output);
    std::filesystem::remove(configuration);
    Recording recording;
    EXPECT_EQ(status, 0) << "the recorded part failed";
    mgImplementation::DecodedSound sound;
    {
        ErrorCapture extensibleHeader; // the writer's "fmt " chunk is the 40-byte form
        if (status != 0 || !mgImplementation::ParseWave(bytes, output.string(), sound)) {
            return recording;
        }
    }
    EXPECT_EQ(sound.channels, 2);
    EXPECT_EQ(sound.bitsPerSample, 16);
    recording.sampleRate = sound.sampleRate;
    const auto* samples = reinterpret_cast<const std::int16_t*>(sound.samples.data());
    const std::size_t frames = sound.samples.size() / 4;
    for (std::size_t frame = 0; frame < frames; ++frame) {
        recording.left.push_back(static_cast<float>(samples[2 * frame]) / 32768.0f);
        recording.right.push_back(static_cast<float>(samples[2 * frame + 1]) / 32768.0f);
    }
    return recording;
}

// Root mean square of samples [begin, end).
inline double RootMeanSquare(const std::vector<float>& samples, std::size_t begin, std::size_t end)
{
    double sum = 0.0;
    end = std::min(end, samples.size());
    for (std::size_t index = begin; index < end; ++index) {
        sum += static_cast<double>(samples[index]) * samples[index];
    }
    return end > begin ? std::sqrt(sum / static_cast<double>(end - begin)) : 0.0;
}

// Anything above this is sound; the mixer's silence is exact zeros.
inline constexpr float kSilence = 0.001f;

// The sounding stretches of a channel: [start, end) where it rises above kSilence, split at
// gaps longer than 50 ms.
inline std::vector<std::pair<std::size_t, std::size_t>> Bursts(const std::vector<float>& samples)
{
    std::vector<std::pair<std::size_t, std::size_t>> bursts;
    std::size_t quiet = 0;
    for (std::size_t index = 0; index < samples.size(); ++index) {
        if (std::fabs(samples[index]) > kSilence) {
            if (bursts.empty() || quiet > 2205) {
                bursts.push_back({index, index + 1});
            }
            bursts.back().second = index + 1;
            quiet = 0;
        } else {
            ++quiet;
        }
    }
    return bursts;
}

// Both channels at once: the louder of the two at each frame.
inline std::vector<float> Louder(const Recording& recording)
{
    std::vector<float> louder(recording.left.size());
    for (std::size_t index = 0; index < louder.size(); ++index) {
        louder[index] = std::max(std::fabs(recording.left[index]), std::fabs(recording.right[index]));
    }
    return louder;
}

// The child's fixed steps of 10 ms, in real time from the first, each ending with the audio
// manager's update as the game's steps do.
class RealTimeSteps
{
public:
    // The recording starts when the device opens, here.
    RealTimeSteps() { Marrowgate::Audio::theAudioManager.Restart(); }

    // Set-up in between (making sounds, loading tables) may take longer than a step on a busy
    // machine; the steps then go on from where they are instead of catching up in a burst.
    void Run(int count)
    {
        using namespace std::chrono_literals;
        for (int step = 0; step < count; ++step) {
            const auto now = std::chrono::steady_clock::now();
            if (now > mStart + (mDone + 2) * 10ms) {
                mStart = now - mDone * 10ms;
            }
            std::this_thread::sleep_until(mStart + ++mDone * 10ms);
            Marrowgate::Audio::theAudioManager.Update(0.01f);
        }
    }

private:
    std::chrono::steady_clock::time_point mStart = std::chrono::steady_clock::now();
    int mDone = 0;
};

} // namespace QuorvaneTest
