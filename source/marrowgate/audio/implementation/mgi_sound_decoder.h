#pragma once
// Turns the bytes of a sound file into interleaved PCM samples, with no audio device involved:
// RIFF/WAVE (8- or 16-bit PCM, mono or stereo, other chunks skipped) and Ogg Vorbis (decoded
// whole to 16-bit samples with stb_vorbis). Every problem is reported through the error
// facility naming the file; a sound of an unsupported layout is reported and yields no samples.
//
// Depends on the core layer and stb_vorbis.
//
// Known limits: the whole file is held in memory while it is decoded; Ogg files above 2 GiB
// are refused (the decoder counts bytes in an int).

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace mgImplementation {

struct DecodedSound
{
    std::uint32_t sampleRate = 0;
    std::int32_t bitsPerSample = 0;
    std::int32_t channels = 0;
    // Interleaved PCM; its size is the sound's data size. Empty when the layout is unsupported.
    std::vector<std::uint8_t> samples;
};

// Ogg Vorbis is chosen by a ".ogg" anywhere in the path, or by the Ogg capture pattern at the
// start of the bytes (which covers .oga files and images in memory).
bool IsOggVorbisPath(std::string_view filePath);
bool StartsWithOggCapturePattern(std::span<const std::uint8_t> fileBytes);

// Both return false when the bytes are not a readable sound of their kind. filePath only names
// the file in reports.
bool ParseWave(std::span<const std::uint8_t> fileBytes, const std::string& filePath, DecodedSound& sound);
bool DecodeOggVorbis(std::span<const std::uint8_t> fileBytes, const std::string& filePath,
                     DecodedSound& sound);

// Picks the parser for the file as above.
bool DecodeSoundFile(std::span<const std::uint8_t> fileBytes, const std::string& filePath,
                     DecodedSound& sound);

} // namespace mgImplementation
