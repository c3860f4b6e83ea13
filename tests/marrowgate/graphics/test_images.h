#pragma once
// Image files made on the spot for texture tests: PNG bytes from RGBA pixels, PNG headers that
// claim any size, and a scratch folder that is removed with its files.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace QuorvaneTest {

using Bytes = std::vector<unsigned char>;

Bytes EncodePng(int width, int height, const Bytes& rgbaPixels);
// A PNG signature and header chunk for an RGBA image of that size, with no pixel data.
Bytes PngHeaderOnly(std::uint32_t width, std::uint32_t height);

class ScratchFolder
{
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Writes the bytes to a file of that name in the folder and returns its path.
    std::string Write(const std::string& name, const Bytes& contents) const;

private:
    std::filesystem::path mPath;
};

} // namespace QuorvaneTest
