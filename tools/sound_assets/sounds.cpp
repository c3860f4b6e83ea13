#include "sounds.h"

#include <array>
#include <cmath>

namespace SoundAssets {
namespace {

double NoteFrequency(double semitonesFromA4)
{
    return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0);
}

std::size_t Seconds(double seconds)
{
    return static_cast<std::size_t>(seconds * kSampleRate);
}

} // namespace

Signal MakeLogoSound()
{
    // 167456 bytes of 16-bit samples: the length the framework's start-up expects.
    constexpr std::size_t kLogoSamples = 83728;
    Signal signal = MakeSilence(kLogoSamples);

    // D major rising: D5, F#5, A5, then D6 over a warm D4 body.
    const std::array<double, 4> arpeggio = {-7.0, -3.0, 0.0, 5.0};
    for (std::size_t note = 0; note < arpeggio.size(); ++note) {
        Partial bell;
        bell.frequency = NoteFrequency(arpeggio[note]);
        bell.level = 0.45;
        bell.attackSeconds = 0.004;
        bell.decaySeconds = note + 1 == arpeggio.size() ? 0.55 : 0.35;
        bell.modulatorRatio = 3.5;
        bell.modulationIndex = 1.2;
        AddPartial(signal, Seconds(0.11 * static_cast<double>(note)), bell);

        Partial octave = bell;
        octave.frequency *= 2.0;
        octave.level = 0.12;
        octave.modulationIndex = 0.0;
        octave.decaySeconds *= 0.6;
        AddPartial(signal, Seconds(0.11 * static_cast<double>(note)), octave);
    }

    Partial body;
    body.frequency = NoteFrequency(-19.0);
    body.level = 0.35;
    body.attackSeconds = 0.02;
    body.decaySeconds = 0.7;
    AddPartial(signal, 0, body);

    // The held chord that closes the logo.
    for (const double semitones : {-7.0, -3.0, 0.0}) {
        Partial chord;
        chord.frequency = NoteFrequency(semitones);
        chord.level = 0.18;
        chord.attackSeconds = 0.08;
        chord.decaySeconds = 0.45;
        AddPartial(signal, Seconds(0.44), chord);
    }

    Normalize(signal, 0.8);
    FadeEdges(signal, Seconds(0.02));
    return signal;
}

Signal MakeChipCollected(double semitones)
{
    Signal signal = MakeSilence(Seconds(0.3));
    const double ratio = std::pow(2.0, semitones / 12.0);
    Partial first;
    first.frequency = NoteFrequency(19.0) * ratio;
    first.level = 0.5;
    first.attackSeconds = 0.002;
    first.decaySeconds = 0.05;
    first.modulatorRatio = 2.0;
    first.modulationIndex = 0.8;
    AddPartial(signal, 0, first);

    Partial second = first;
    second.frequency = NoteFrequency(26.0) * ratio;
    second.decaySeconds = 0.09;
    AddPartial(signal, Seconds(0.06), second);

    Normalize(signal, 0.7);
    FadeEdges(signal, Seconds(0.005));
    return signal;
}

Signal MakeCarReset()
{
    Signal signal = MakeSilence(Seconds(0.6));
    AddNoiseSweep(signal, 1.0, 4000.0, 300.0, 0x5EED5u);
    Normalize(signal, 0.6);
    FadeEdges(signal, Seconds(0.01));
    return signal;
}

Signal MakeEngineLoop()
{
    Signal signal = MakeSilence(static_cast<std::size_t>(kSampleRate));
    // Every frequency is a whole number of hertz, so one second holds whole cycles of each and
    // the end meets the start without a click.
    const std::array<std::array<double, 2>, 4> harmonics = {
        {{55.0, 0.5}, {110.0, 0.3}, {165.0, 0.15}, {275.0, 0.06}}};
    for (std::size_t index = 0; index < signal.size(); ++index) {
        const double seconds = static_cast<double>(index) / kSampleRate;
        const double rumble = 1.0 + 0.15 * std::sin(2.0 * kPi * 6.0 * seconds);
        double sample = 0.0;
        for (const auto& [frequency, level] : harmonics) {
            sample += level * std::sin(2.0 * kPi * frequency * seconds);
        }
        signal[index] = static_cast<float>(sample * rumble);
    }
    Normalize(signal, 0.5);
    return signal;
}

Signal MakeMusicLoop()
{
    // Eight beats at 120 per minute. Every note has died away before the loop ends, so the last
    // beat runs into the first without a click.
    constexpr double kBeatSeconds = 0.5;
    Signal signal = MakeSilence(Seconds(8 * kBeatSeconds));
    const std::array<double, 8> bassLine = {-21.0, -21.0, -16.0, -16.0, -19.0, -19.0, -14.0, -17.0};
    const std::array<double, 4> melody = {3.0, 7.0, 10.0, 7.0};
    for (std::size_t beat = 0; beat < bassLine.size(); ++beat) {
        const std::size_t start = Seconds(kBeatSeconds * static_cast<double>(beat));
        Partial bass;
        bass.frequency = NoteFrequency(bassLine[beat]);
        bass.level = 0.5;
        bass.attackSeconds = 0.01;
        bass.decaySeconds = 0.12;
        AddPartial(signal, start, bass);

        Partial bell;
        bell.frequency = NoteFrequency(melody[beat % melody.size()]);
        bell.level = 0.25;
        bell.attackSeconds = 0.003;
        bell.decaySeconds = 0.08;
        bell.modulatorRatio = 2.0;
        bell.modulationIndex = 0.6;
        AddPartial(signal, start + Seconds(kBeatSeconds / 2.0), bell);
    }
    Normalize(signal, 0.6);
    FadeEdges(signal, Seconds(0.005));
    return signal;
}

Signal MakeStreamedTheme()
{
    // A, F, C and G major-minor chords of four seconds each; the pads swell slowly and the last
    // fades out, so the track loops without a step in level.
    constexpr double kChordSeconds = 4.0;
    const std::array<std::array<double, 3>, 4> chords = {
        {{-12.0, -9.0, -5.0}, {-16.0, -12.0, -9.0}, {-21.0, -17.0, -14.0}, {-14.0, -10.0, -7.0}}};
    Signal signal = MakeSilence(Seconds(kChordSeconds * static_cast<double>(chords.size())));
    for (std::size_t chord = 0; chord < chords.size(); ++chord) {
        const std::size_t start = Seconds(kChordSeconds * static_cast<double>(chord));
        for (const double semitones : chords[chord]) {
            Partial pad;
            pad.frequency = NoteFrequency(semitones);
            pad.level = 0.2;
            pad.attackSeconds = 0.8;
            pad.decaySeconds = 2.5;
            AddPartial(signal, start, pad);
        }
        for (std::size_t note = 0; note < 8; ++note) {
            Partial bell;
            bell.frequency = NoteFrequency(chords[chord][note % 3] + 24.0);
            bell.level = 0.08;
            bell.attackSeconds = 0.004;
            bell.decaySeconds = 0.25;
            bell.modulatorRatio = 2.0;
            bell.modulationIndex = 0.5;
            AddPartial(signal, start + Seconds(0.5 * static_cast<double>(note)), bell);
        }
    }
    Normalize(signal, 0.6);
    FadeEdges(signal, Seconds(0.05));
    return signal;
}

} // namespace SoundAssets
