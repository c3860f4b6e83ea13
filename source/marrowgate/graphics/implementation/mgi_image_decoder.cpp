#include "marrowgate/graphics/implementation/mgi_image_decoder.h"

#include "marrowgate/core/mg_data_file.h"
#include "marrowgate/core/mg_error.h"

#include <stb/stb_image.h>

#include <climits>
#include <memory>
#include <new>
#include <string_view>

namespace {
constexpr char kUnitName[] = "mg_texture_manager";

// Larger pictures are refused before decoding: 64 million pixels is far beyond any texture this
// framework draws, and stops a forged header from asking for gigabytes.
constexpr std::size_t kMaximumImageBytes = std::size_t{256} * 1024u * 1024u;
constexpr int kLargestPixelSpace = 65535;

enum class ImageSource
{
    File,
    Memory
};

struct StbImageFree
{
    void operator()(unsigned char* pixels) const { stbi_image_free(pixels); }
};

void ReportLoadFailure(ImageSource source, const std::string& name)
{
    if (source == ImageSource::File) {
        MG_ERROR("mgExternalError: Texture \"%s\" could not be loaded from file.", name.c_str());
    } else {
        MG_ERROR("mgExternalError: Texture \"%s\" could not be loaded from file data provided, corrupt?",
                 name.c_str());
    }
}

bool HasPixelSpaceSize(ImageSource source, const std::string& name, int width, int height)
{
    if (width <= kLargestPixelSpace && height <= kLargestPixelSpace) {
        return true;
    }
    if (source == ImageSource::File && width > kLargestPixelSpace) {
        MG_ERROR("mgError: Expected imageWidth of texture \"%s\" to be in range: (0 < imageWidth <= 65536), "
                 "in-precise cast to PixelSpace.",
                 name.c_str());
    }
    if (source == ImageSource::File && height > kLargestPixelSpace) {
        MG_ERROR(
            "mgError: Expected imageHeight of texture \"%s\" to be in range: (0 < imageHeight <= 65536), "
            "in-precise cast to PixelSpace.",
            name.c_str());
    }
    MG_ERROR("mgCastingError: Value is outside the range of the following cast.");
    return false;
}

std::optional<mgImplementation::DecodedImage> Decode(std::span<const unsigned char> data, ImageSource source,
                                                     const std::string& name)
{
    int width = 0;
    int height = 0;
    int channels = 0;
    if (data.empty() || data.size() > INT_MAX ||
        stbi_info_from_memory(data.data(), static_cast<int>(data.size()), &width, &height, &channels) == 0) {
        ReportLoadFailure(source, name);
        return std::nullopt;
    }
    if (!HasPixelSpaceSize(source, name, width, height)) {
        return std::nullopt;
    }
    if (width <= 0 || height <= 0 ||
        static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4u > kMaximumImageBytes) {
        ReportLoadFailure(source, name);
        return std::nullopt;
    }
    const std::unique_ptr<unsigned char, StbImageFree> pixels(
        stbi_load_from_memory(data.data(), static_cast<int>(data.size()), &width, &height, &channels, 4));
    // The decoder says so when its allocation failed: that is no corrupt image but memory running
    // out, which ends the program the one way it does everywhere (mg_out_of_memory.h).
    if (!pixels &&
        std::string_view(stbi_failure_reason() != nullptr ? stbi_failure_reason() : "") == "outofmem") {
        throw std::bad_alloc();
    }
    if (!pixels || width <= 0 || height <= 0 || width > kLargestPixelSpace || height > kLargestPixelSpace) {
        ReportLoadFailure(source, name);
        return std::nullopt;
    }
    mgImplementation::DecodedImage image;
    image.width = static_cast<std::uint16_t>(width);
    image.height = static_cast<std::uint16_t>(height);
    const std::size_t byteCount = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4u;
    image.pixels.assign(pixels.get(), pixels.get() + byteCount);
    mgImplementation::PremultiplyAlpha(image.pixels);
    return image;
}

} // namespace

namespace mgImplementation {

std::optional<DecodedImage> DecodeImageFile(const std::string& fileName)
{
    const Marrowgate::Core::Error::ReportSubject subject(fileName);
    const std::optional<std::vector<unsigned char>> contents =
        Marrowgate::Core::ReadDataFile<std::vector<unsigned char>>(fileName,
                                                                   Marrowgate::Core::kMaximumImageFileBytes);
    if (!contents) {
        ReportLoadFailure(ImageSource::File, fileName);
        return std::nullopt;
    }
    return Decode(*contents, ImageSource::File, fileName);
}

std::optional<DecodedImage> DecodeImageData(std::span<const unsigned char> fileData)
{
    return Decode(fileData, ImageSource::Memory, "file data");
}

void PremultiplyAlpha(std::span<unsigned char> rgbaPixels)
{
    for (std::size_t index = 0; index + 3 < rgbaPixels.size(); index += 4) {
        const unsigned alpha = rgbaPixels[index + 3];
        for (std::size_t channel = 0; channel < 3; ++channel) {
            rgbaPixels[index + channel] =
                static_cast<unsigned char>(rgbaPixels[index + channel] * alpha / 255u);
        }
    }
}

} // namespace mgImplementation
