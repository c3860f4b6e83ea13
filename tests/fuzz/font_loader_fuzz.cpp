// Feeds arbitrary bytes to font loading and text rasterising: every input must end in a refused
// font, a refused text or a coverage bitmap, never a crash, an overread or a huge allocation.
// The first byte picks the font size, so that scales from tiny to large are exercised.

#include "marrowgate/graphics/fonts/mg_font.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The rasteriser is compiled in here, so that it carries the fuzzer's instrumentation too.
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb/stb_truetype.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) {
        return 0;
    }
    const float fontSize = 4.0f + static_cast<float>(data[0] % 97);
    auto font = mgImplementation::Font::Create(std::vector<unsigned char>(data + 1, data + size));
    if (!font) {
        return 0;
    }
    font->SetFontSize(fontSize);
    const auto bitmap = font->RenderTextToBitmap("AVWa\xC3\xA9\xE2\x82\xAC gjQ%");
    if (bitmap && bitmap->pixels.size() != std::size_t{bitmap->textureWidth} * bitmap->textureHeight) {
        __builtin_trap();
    }
    return 0;
}
