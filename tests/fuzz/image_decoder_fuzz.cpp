// Feeds arbitrary bytes to the texture manager's image decoding: every input must end in a
// decoded, premultiplied image or a report, never a crash, an overread or a huge allocation.

#include "marrowgate/graphics/implementation/mgi_image_decoder.h"

#include <cstddef>
#include <cstdint>

// The decoder itself is compiled in here, so that it carries the fuzzer's instrumentation too.
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto image = mgImplementation::DecodeImageData(std::span<const unsigned char>(data, size));
    if (image && image->pixels.size() != static_cast<std::size_t>(image->width) * image->height * 4u) {
        __builtin_trap();
    }
    return 0;
}
