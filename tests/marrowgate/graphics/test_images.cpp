#include "test_images.h"

#include <stb/stb_image_write.h>

#include <fstream>
#include <random>

namespace QuorvaneTest {

Bytes EncodePng(int width, int height, const Bytes& rgbaPixels)
{
    Bytes encoded;
    stbi_write_png_to_func(
        [](void* context, void* data, int size) {
            auto* output = static_cast<Bytes*>(context);
            const auto* bytes = static_cast<const unsigned char*>(data);
            output->insert(output->end(), bytes, bytes + size);
        },
        &encoded, width, height, 4, rgbaPixels.data(), width * 4);
    return encoded;
}

Bytes PngHeaderOnly(std::uint32_t width, std::uint32_t height)
{
    Bytes bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (const std::uint32_t value : {width, height}) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            bytes.push_back(static_cast<unsigned char>(value >> shift));
        }
    }
    // 8 bits, RGBA, deflate, no filter method, no interlace; then a CRC the decoder does not check.
    const Bytes rest = {8, 6, 0, 0, 0, 0, 0, 0, 0};
    bytes.insert(bytes.end(), rest.begin(), rest.end());
    return bytes;
}

ScratchFolder::ScratchFolder()
{
    std::random_device random;
    mPath = std::filesystem::temp_directory_path() / ("quorvane_graphics_" + std::to_string(random()));
    std::filesystem::create_directories(mPath);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(mPath, ignored);
}

std::string ScratchFolder::Write(const std::string& name, const Bytes& contents) const
{
    const std::filesystem::path file = mPath / name;
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(contents.data()), static_cast<std::streamsize>(contents.size()));
    return file.string();
}

} // namespace QuorvaneTest
