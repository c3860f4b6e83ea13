// quorvane-atlas: packs a folder of PNG images into one atlas image and the sprite sheet JSON
// that describes it, so that sprites drawn from those images share one texture and batch.
//
//   quorvane-atlas [--max-size N] FOLDER OUTPUT   writes OUTPUT.png and OUTPUT.json
//
// Every .png file directly inside FOLDER becomes a frame named after its file without the
// extension. A file that cannot be read or decoded is named and nothing is written. Both outputs
// replace their files all at once.

#include "atlas_packer.h"
#include "atomic_file.h"

#include "marrowgate/core/mg_data_file.h"
#include "marrowgate/core/mg_error.h"

#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kLargestImageSide = 8192;

class PrintingErrorHandler : public Marrowgate::Core::Error::ErrorHandlerInterface
{
public:
    void OnErrorFired(const std::string& message) override { std::fprintf(stderr, "%s\n", message.c_str()); }
};

int Usage()
{
    std::fprintf(stderr, "usage: quorvane-atlas [--max-size N] FOLDER OUTPUT\n"
                         "       writes OUTPUT.png and OUTPUT.json\n");
    return 2;
}

bool IsPng(const std::filesystem::path& path)
{
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char character) { return static_cast<char>(std::tolower(character)); });
    return extension == ".png";
}

std::optional<AtlasTool::Image> ReadImage(const std::filesystem::path& path)
{
    const std::optional<std::vector<unsigned char>> bytes =
        Marrowgate::Core::ReadDataFile<std::vector<unsigned char>>(path.string(),
                                                                   Marrowgate::Core::kMaximumImageFileBytes);
    if (!bytes) {
        return std::nullopt; // reported by the reader
    }
    const int size = static_cast<int>(bytes->size());
    int width = 0;
    int height = 0;
    int channels = 0;
    // Measured before decoding, so a header that claims a huge picture costs nothing.
    if (stbi_info_from_memory(bytes->data(), size, &width, &height, &channels) == 0 ||
        width > kLargestImageSide || height > kLargestImageSide) {
        std::fprintf(stderr, "quorvane-atlas: %s is not a PNG image of at most %d x %d pixels\n",
                     path.string().c_str(), kLargestImageSide, kLargestImageSide);
        return std::nullopt;
    }
    unsigned char* pixels = stbi_load_from_memory(bytes->data(), size, &width, &height, &channels, 4);
    if (pixels == nullptr) {
        std::fprintf(stderr, "quorvane-atlas: %s cannot be decoded (%s)\n", path.string().c_str(),
                     stbi_failure_reason());
        return std::nullopt;
    }
    AtlasTool::Image image{
        path.stem().string(), width, height,
        std::vector<unsigned char>(pixels, pixels + static_cast<std::size_t>(width) * height * 4u)};
    stbi_image_free(pixels);
    return image;
}

void AppendBytes(void* context, void* data, int size)
{
    auto* bytes = static_cast<std::vector<char>*>(context);
    bytes->insert(bytes->end(), static_cast<char*>(data), static_cast<char*>(data) + size);
}

bool WriteOutput(const std::string& path, std::span<const char> bytes)
{
    std::string error;
    if (!MeshTool::ReplaceFileAtomically(path, bytes, error)) {
        std::fprintf(stderr, "quorvane-atlas: cannot write %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argumentCount, char** arguments)
{
    std::vector<std::string> words(arguments + 1, arguments + argumentCount);
    int maximumSide = 4096;
    if (words.size() == 4 && words[0] == "--max-size") {
        maximumSide = std::atoi(words[1].c_str());
        words.erase(words.begin(), words.begin() + 2);
        if (maximumSide < 1 || maximumSide > 16384) {
            std::fprintf(stderr, "quorvane-atlas: --max-size takes a side from 1 to 16384 pixels\n");
            return 2;
        }
    }
    if (words.size() != 2) {
        return Usage();
    }
    std::signal(SIGXFSZ, SIG_IGN);
    PrintingErrorHandler printer;
    Marrowgate::Core::Error::AddErrorHandler(&printer);

    const std::filesystem::path folder = words[0];
    std::error_code error;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (IsPng(entry.path())) {
            files.push_back(entry.path());
        }
    }
    if (error) {
        std::fprintf(stderr, "quorvane-atlas: cannot read the folder %s: %s\n", folder.string().c_str(),
                     error.message().c_str());
        return 1;
    }
    if (files.empty()) {
        std::fprintf(stderr, "quorvane-atlas: %s holds no .png files\n", folder.string().c_str());
        return 1;
    }
    std::sort(files.begin(), files.end());
    std::vector<AtlasTool::Image> images;
    for (std::size_t index = 0; index < files.size(); ++index) {
        std::optional<AtlasTool::Image> image = ReadImage(files[index]);
        if (!image) {
            return 1;
        }
        if (index > 0 && files[index].stem() == files[index - 1].stem()) {
            std::fprintf(stderr, "quorvane-atlas: two images are named %s\n", image->name.c_str());
            return 1;
        }
        images.push_back(std::move(*image));
    }
    const std::optional<AtlasTool::Atlas> atlas = AtlasTool::PackAtlas(std::move(images), maximumSide);
    if (!atlas) {
        std::fprintf(stderr, "quorvane-atlas: the images do not fit in an atlas of %d x %d pixels\n",
                     maximumSide, maximumSide);
        return 1;
    }
    const std::filesystem::path output = words[1];
    std::vector<char> png;
    stbi_write_png_to_func(AppendBytes, &png, atlas->image.width, atlas->image.height, 4,
                           atlas->image.rgba.data(), atlas->image.width * 4);
    const std::string imageName = output.filename().string() + ".png";
    const std::string json = AtlasTool::DescribeAtlas(*atlas, imageName);
    if (png.empty() || !WriteOutput(output.string() + ".png", png) ||
        !WriteOutput(output.string() + ".json", json)) {
        return 1;
    }
    std::printf("%zu images in a %d x %d atlas: %s.png, %s.json\n", atlas->placed.size(), atlas->image.width,
                atlas->image.height, output.string().c_str(), output.string().c_str());
    return 0;
}
