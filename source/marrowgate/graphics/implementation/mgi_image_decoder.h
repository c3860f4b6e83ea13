#pragma once
// Decoding of image files into 8-bit RGBA with premultiplied alpha, through stb_image. The
// image is measured before it is decoded, so a header that claims a huge picture is refused
// without allocating for it. Every refusal is reported with the texture manager's messages.
// Internal to the graphics implementation.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace mgImplementation {

struct DecodedImage
{
    std::vector<unsigned char> pixels; // width * height * 4 bytes, rows from the top
    std::uint16_t width = 0;
    std::uint16_t height = 0;
};

// Reads the file through mg_data_file.h (regular files up to kMaximumImageFileBytes); every
// report names the file.
std::optional<DecodedImage> DecodeImageFile(const std::string& fileName);
std::optional<DecodedImage> DecodeImageData(std::span<const unsigned char> fileData);

// Each of red, green and blue becomes the integer part of channel * alpha / 255.
void PremultiplyAlpha(std::span<unsigned char> rgbaPixels);

} // namespace mgImplementation
