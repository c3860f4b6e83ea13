#pragma once
// Records what OpenAL plays: a test's child part runs in a process whose OpenAL Soft writes its
// mix to a stereo WAV file (the wave back-end, mixing in small periods of 256 frames so that a
// change shows within 6 ms), and the parent reads the file back as two channels of floats.
// Helpers measure levels and find where sound starts and stops.
//
// The wave back-end mixes in real time, so a busy machine shifts when things happen in the
// recording; tests therefore time events against marker sounds played in the same step, not
// against the clock.

#include "marrowgate/audio/implementation/mgi_sound_decoder.h"

#include "support/child_process.h"
#include "support/error_capture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
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

// The first sample at or after `from` louder than `threshold`; samples.size() when none is.
inline std::size_t FirstLoud(const std::vector<float>& samples, float threshold, std::size_t from = 0)
{
    for (std::size_t index = from; index < samples.size(); ++index) {
        if (std::fabs(samples[index]) > threshold) {
            return index;
        }
    }
    return samples.size();
}

// One past the last sample louder than `threshold`; 0 when none is.
inline std::size_t EndOfSound(const std::vector<float>& samples, float threshold)
{
    for (std::size_t index = samples.size(); index > 0; --index) {
        if (std::fabs(samples[index - 1]) > threshold) {
            return index;
        }
    }
    return 0;
}

} // namespace QuorvaneTest
