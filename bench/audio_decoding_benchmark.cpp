// Costs of the audio work done inside the game loop and at load time: refilling one stream
// buffer (three seconds of mono at 44100 Hz; a player does this inside one fixed step), decoding
// an Ogg Vorbis file whole, and parsing the built-in logo sound.
#include "marrowgate/audio/implementation/mgi_sound_decoder.h"
#include "marrowgate/audio/implementation/mgi_vorbis_stream.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const std::string kSourceFolder = QUORVANE_SOURCE_DIR;
const std::string kTenSecondOgg = kSourceFolder + "/tests/marrowgate/audio/data/tone_10s_mono.ogg";
const std::string kLogoWave = kSourceFolder + "/source/marrowgate/audio/sounds/marrowgate_logo.wav";

std::vector<std::uint8_t> ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void StreamBufferRefill(benchmark::State& state)
{
    mgImplementation::VorbisStream stream(kTenSecondOgg);
    std::vector<std::int16_t> samples(3 * 44100);
    for (auto _ : state) {
        benchmark::DoNotOptimize(stream.Read(samples, 1, true));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(samples.size()));
}
BENCHMARK(StreamBufferRefill)->Unit(benchmark::kMillisecond);

void OggDecodeWhole(benchmark::State& state)
{
    const std::vector<std::uint8_t> file = ReadFile(kTenSecondOgg);
    mgImplementation::DecodedSound sound;
    for (auto _ : state) {
        benchmark::DoNotOptimize(mgImplementation::DecodeOggVorbis(file, "tone.ogg", sound));
    }
}
BENCHMARK(OggDecodeWhole)->Unit(benchmark::kMillisecond);

void LogoWaveParse(benchmark::State& state)
{
    const std::vector<std::uint8_t> file = ReadFile(kLogoWave);
    mgImplementation::DecodedSound sound;
    for (auto _ : state) {
        benchmark::DoNotOptimize(mgImplementation::ParseWave(file, "logo.wav", sound));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.size()));
}
BENCHMARK(LogoWaveParse)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
