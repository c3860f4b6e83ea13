// Feeds arbitrary bytes to the WAV parser. Besides the sanitizers' checks, the parser must never
// return more sample bytes than the file holds, and only whole frames of a supported layout.
#include "marrowgate/audio/implementation/mgi_sound_decoder.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    mgImplementation::DecodedSound sound;
    if (!mgImplementation::ParseWave(std::span(data, size), "fuzz.wav", sound) || sound.samples.empty()) {
        return 0;
    }
    const bool supported = (sound.channels == 1 || sound.channels == 2) &&
                           (sound.bitsPerSample == 8 || sound.bitsPerSample == 16);
    const auto frameBytes = static_cast<std::size_t>(sound.channels * sound.bitsPerSample / 8);
    if (!supported || sound.samples.size() > size || sound.samples.size() % frameBytes != 0) {
        std::abort();
    }
    return 0;
}
