#pragma once
// Small building blocks for synthesising sounds offline: a mono signal of float samples in
// [-1, 1] at 44100 Hz, a few oscillators and envelopes, and the 16-bit PCM WAV writer.
// Everything is deterministic, so running the generator twice gives identical files.

#include <cstdint>
#include <filesystem>
#include <vector>

namespace SoundAssets {

inline constexpr int kSampleRate = 44100;
inline constexpr double kPi = 3.14159265358979323846;

using Signal = std::vector<float>;

Signal MakeSilence(std::size_t sampleCount);

// Adds a sine partial starting at startSample with the given frequency (Hz), level and an
// attack then exponential decay (seconds). Samples beyond the signal are dropped.
struct Partial
{
    double frequency = 440.0;
    double level = 0.5;
    double attackSeconds = 0.005;
    double decaySeconds = 0.5;
    // Frequency modulation: a modulator at frequency * modulatorRatio, of this index.
    double modulatorRatio = 0.0;
    double modulationIndex = 0.0;
};
void AddPartial(Signal& signal, std::size_t startSample, const Partial& partial);

// Deterministic white noise, shaped by a one-pole low-pass whose cut-off glides from
// startCutoff to endCutoff (Hz) over the sound, under a rise-and-fall envelope.
void AddNoiseSweep(Signal& signal, double level, double startCutoff, double endCutoff, std::uint32_t seed);

// Scales the signal so its largest magnitude is `peak`.
void Normalize(Signal& signal, double peak);

// Short linear fades so no sound starts or ends with a click.
void FadeEdges(Signal& signal, std::size_t fadeSamples);

// Writes 16-bit mono PCM at kSampleRate: a 44-byte RIFF/WAVE header and the samples.
bool WriteWave16(const std::filesystem::path& path, const Signal& signal);

} // namespace SoundAssets
