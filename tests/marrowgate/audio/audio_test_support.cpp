#include "audio_test_support.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>

#include <unistd.h>

namespace AudioTest {
namespace {

void PutLittleEndian(Bytes& bytes, std::uint32_t value, int byteCount)
{
    for (int index = 0; index < byteCount; ++index) {
        bytes.push_back(static_cast<std::uint8_t>((value >> (8 * index)) & 0xFFu));
    }
}

void PutIdentifier(Bytes& bytes, const char* identifier)
{
    // Byte by byte: GCC 12 at -O2 misreads a range insert into an empty vector as an overflow.
    for (int index = 0; index < 4; ++index) {
        bytes.push_back(static_cast<std::uint8_t>(identifier[index]));
    }
}

} // namespace

Bytes Chunk(const char* identifier, const Bytes& body)
{
    Bytes bytes;
    PutIdentifier(bytes, identifier);
    PutLittleEndian(bytes, static_cast<std::uint32_t>(body.size()), 4);
    bytes.insert(bytes.end(), body.begin(), body.end());
    if (body.size() % 2 != 0) {
        bytes.push_back(0);
    }
    return bytes;
}

Bytes FormatChunk(int channels, std::uint32_t sampleRate, int bitsPerSample, std::size_t extraBytes)
{
    const auto blockAlign = static_cast<std::uint32_t>(channels * bitsPerSample / 8);
    Bytes body;
    PutLittleEndian(body, 1, 2);
    PutLittleEndian(body, static_cast<std::uint32_t>(channels), 2);
    PutLittleEndian(body, sampleRate, 4);
    PutLittleEndian(body, sampleRate * blockAlign, 4);
    PutLittleEndian(body, blockAlign, 2);
    PutLittleEndian(body, static_cast<std::uint32_t>(bitsPerSample), 2);
    // A recognisable filler, so a reader that takes it for the next chunk header fails loudly.
    body.insert(body.end(), extraBytes, 0xEE);
    return Chunk("fmt ", body);
}

Bytes ExtensibleFormatChunk(int channels, std::uint32_t sampleRate, int bitsPerSample,
                            std::uint16_t subFormatCode)
{
    Bytes chunk = FormatChunk(channels, sampleRate, bitsPerSample);
    chunk[4] = 40;
    chunk[8] = 0xFE;
    chunk[9] = 0xFF;
    PutLittleEndian(chunk, 22, 2);
    PutLittleEndian(chunk, static_cast<std::uint32_t>(bitsPerSample), 2);
    PutLittleEndian(chunk, channels == 1 ? 0x4u : 0x3u, 4);
    PutLittleEndian(chunk, subFormatCode, 2);
    const std::uint8_t guidTail[] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                     0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    chunk.insert(chunk.end(), std::begin(guidTail), std::end(guidTail));
    return chunk;
}

Bytes RiffWave(std::initializer_list<Bytes> chunks)
{
    Bytes content;
    for (const Bytes& chunk : chunks) {
        content.insert(content.end(), chunk.begin(), chunk.end());
    }
    Bytes bytes;
    PutIdentifier(bytes, "RIFF");
    PutLittleEndian(bytes, static_cast<std::uint32_t>(content.size() + 4), 4);
    PutIdentifier(bytes, "WAVE");
    bytes.insert(bytes.end(), content.begin(), content.end());
    return bytes;
}

Bytes SimpleWave(int channels, std::uint32_t sampleRate, int bitsPerSample, std::uint32_t frames)
{
    Bytes samples(static_cast<std::size_t>(frames) * static_cast<std::size_t>(channels * bitsPerSample / 8));
    for (std::size_t index = 0; index < samples.size(); ++index) {
        samples[index] = static_cast<std::uint8_t>(index * 7);
    }
    return RiffWave({FormatChunk(channels, sampleRate, bitsPerSample), Chunk("data", samples)});
}

Bytes SineWave(double frequency, double seconds, double peak)
{
    const auto frames = static_cast<std::size_t>(seconds * 44100.0);
    const double rampFrames = 0.002 * 44100.0;
    Bytes samples;
    for (std::size_t frame = 0; frame < frames; ++frame) {
        const double ramp = std::min(
            {1.0, static_cast<double>(frame) / rampFrames, static_cast<double>(frames - frame) / rampFrames});
        const double value =
            peak * ramp * std::sin(2.0 * std::numbers::pi * frequency * static_cast<double>(frame) / 44100.0);
        PutLittleEndian(
            samples, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(value * 32767.0))), 2);
    }
    return RiffWave({FormatChunk(1, 44100, 16), Chunk("data", samples)});
}

std::string WriteTemporaryFile(const std::string& name, const Bytes& bytes)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("quorvane_audio_tests_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path path = folder / name;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

std::string TestSoundPath(const std::string& name)
{
    return std::string(QUORVANE_SOURCE_DIR) + "/tests/marrowgate/audio/data/" + name;
}

} // namespace AudioTest
