#include "synthesis.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace SoundAssets {
namespace {

double Envelope(double seconds, double attackSeconds, double decaySeconds)
{
    if (seconds < attackSeconds) {
        return seconds / attackSeconds;
    }
    return std::exp(-(seconds - attackSeconds) / decaySeconds);
}

void PutLittleEndian(std::vector<char>& bytes, std::uint32_t value, int byteCount)
{
    for (int index = 0; index < byteCount; ++index) {
        bytes.push_back(static_cast<char>((value >> (8 * index)) & 0xFFu));
    }
}

void PutText(std::vector<char>& bytes, const char* text)
{
    bytes.insert(bytes.end(), text, text + 4);
}

} // namespace

Signal MakeSilence(std::size_t sampleCount)
{
    return Signal(sampleCount, 0.0f);
}

void AddPartial(Signal& signal, std::size_t startSample, const Partial& partial)
{
    for (std::size_t index = startSample; index < signal.size(); ++index) {
        const double seconds = static_cast<double>(index - startSample) / kSampleRate;
        const double modulator = partial.modulationIndex *
                                 std::sin(2.0 * kPi * partial.frequency * partial.modulatorRatio * seconds);
        const double carrier = std::sin(2.0 * kPi * partial.frequency * seconds + modulator);
        signal[index] += static_cast<float>(partial.level * carrier *
                                            Envelope(seconds, partial.attackSeconds, partial.decaySeconds));
    }
}

void AddNoiseSweep(Signal& signal, double level, double startCutoff, double endCutoff, std::uint32_t seed)
{
    std::uint32_t state = seed;
    double filtered = 0.0;
    const double length = static_cast<double>(signal.size());
    for (std::size_t index = 0; index < signal.size(); ++index) {
        state = state * 1664525u + 1013904223u;
        const double white = static_cast<double>(state >> 8) / static_cast<double>(1u << 24) * 2.0 - 1.0;
        const double progress = static_cast<double>(index) / length;
        const double cutoff = startCutoff + (endCutoff - startCutoff) * progress;
        const double smoothing = 1.0 - std::exp(-2.0 * kPi * cutoff / kSampleRate);
        filtered += smoothing * (white - filtered);
        const double envelope = std::sin(kPi * progress);
        signal[index] += static_cast<float>(level * envelope * filtered);
    }
}

void Normalize(Signal& signal, double peak)
{
    float largest = 0.0f;
    for (const float sample : signal) {
        largest = std::max(largest, std::fabs(sample));
    }
    if (largest > 0.0f) {
        const auto scale = static_cast<float>(peak / largest);
        for (float& sample : signal) {
            sample *= scale;
        }
    }
}

void FadeEdges(Signal& signal, std::size_t fadeSamples)
{
    const std::size_t count = std::min(fadeSamples, signal.size() / 2);
    for (std::size_t index = 0; index < count; ++index) {
        const auto gain = static_cast<float>(index) / static_cast<float>(count);
        signal[index] *= gain;
        signal[signal.size() - 1 - index] *= gain;
    }
}

bool WriteWave16(const std::filesystem::path& path, const Signal& signal)
{
    const auto dataBytes = static_cast<std::uint32_t>(signal.size() * 2);
    std::vector<char> bytes;
    PutText(bytes, "RIFF");
    PutLittleEndian(bytes, 36 + dataBytes, 4);
    PutText(bytes, "WAVE");
    PutText(bytes, "fmt ");
    PutLittleEndian(bytes, 16, 4);
    PutLittleEndian(bytes, 1, 2); // integer PCM
    PutLittleEndian(bytes, 1, 2); // mono
    PutLittleEndian(bytes, kSampleRate, 4);
    PutLittleEndian(bytes, kSampleRate * 2, 4);
    PutLittleEndian(bytes, 2, 2);
    PutLittleEndian(bytes, 16, 2);
    PutText(bytes, "data");
    PutLittleEndian(bytes, dataBytes, 4);
    for (const float sample : signal) {
        const auto value = static_cast<std::int16_t>(std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f));
        PutLittleEndian(bytes, static_cast<std::uint16_t>(value), 2);
    }
    std::ofstream file(path, std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file.good();
}

} // namespace SoundAssets
