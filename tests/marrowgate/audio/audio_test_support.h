#pragma once
// Helpers shared by the audio tests: building RIFF/WAVE images chunk by chunk (well-formed or
// not), temporary files and the committed test sounds.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace AudioTest {

using Bytes = std::vector<std::uint8_t>;

// A chunk: identifier, little-endian size, body and, for an odd size, one pad byte.
Bytes Chunk(const char* identifier, const Bytes& body);
// A "fmt " chunk for integer PCM; extraBytes lengthens it the way newer writers do.
Bytes FormatChunk(int channels, std::uint32_t sampleRate, int bitsPerSample, std::size_t extraBytes = 0);
// A 40-byte extensible "fmt " chunk whose sub-format GUID carries subFormatCode (1 PCM, 3 float).
Bytes ExtensibleFormatChunk(int channels, std::uint32_t sampleRate, int bitsPerSample,
                            std::uint16_t subFormatCode);
// "RIFF", a size, "WAVE", then the chunks in order.
Bytes RiffWave(std::initializer_list<Bytes> chunks);
// A plain PCM WAV image of `frames` frames of a ramp.
Bytes SimpleWave(int channels, std::uint32_t sampleRate, int bitsPerSample, std::uint32_t frames);

// Mono 16-bit 44100 Hz sine of the given frequency, length and peak (0 to 1), with 2 ms ramps at
// both ends so that it starts and stops without a click.
Bytes SineWave(double frequency, double seconds, double peak);

// Writes bytes to a fresh file under the test's temporary folder and returns its path.
std::string WriteTemporaryFile(const std::string& name, const Bytes& bytes);

// A committed test sound (tests/marrowgate/audio/data/).
std::string TestSoundPath(const std::string& name);

} // namespace AudioTest
