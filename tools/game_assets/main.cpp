// Writes the game's generated assets: the two meshes, the splash logo and the icons.
//
// Usage: quorvane_game_assets <data folder> [TrueType font for the logo lettering]
// The outputs depend only on this program (and the font), so running it again reproduces
// the files committed under data/ byte for byte.
#include "game_images.h"
#include "game_meshes.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

constexpr char kDefaultFont[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
constexpr int kIconSizes[] = {32, 48, 64, 128, 256};

std::vector<unsigned char> ReadFile(const char* path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool Report(bool written, const std::filesystem::path& path)
{
    std::fprintf(written ? stdout : stderr, "%s %s\n", written ? "wrote" : "could not write", path.c_str());
    return written;
}

} // namespace

int main(int argumentCount, char** arguments)
{
    if (argumentCount < 2 || argumentCount > 3) {
        std::fprintf(stderr, "usage: %s <data folder> [font.ttf]\n", arguments[0]);
        return 2;
    }
    const std::filesystem::path data = arguments[1];
    const std::vector<unsigned char> font = ReadFile(argumentCount == 3 ? arguments[2] : kDefaultFont);
    if (font.empty()) {
        std::fprintf(stderr, "cannot read the lettering font\n");
        return 1;
    }
    std::filesystem::create_directories(data / "mesh");
    bool ok = Report(GameAssets::BuildCarMesh().WriteBinary(data / "mesh/car.msh"), data / "mesh/car.msh");
    ok &= Report(GameAssets::BuildChipMesh().WriteBinary(data / "mesh/quor.msh"), data / "mesh/quor.msh");
    ok &= Report(GameAssets::DrawStudioLogo(font).SavePng(data / "wrenfold_logo_512.png"),
                 data / "wrenfold_logo_512.png");
    for (int size : kIconSizes) {
        const std::filesystem::path folder =
            data / "desktop/icons/hicolor" / (std::to_string(size) + "x" + std::to_string(size)) / "apps";
        std::filesystem::create_directories(folder);
        const std::filesystem::path icon = folder / "com.wrenfold.Quorvane.png";
        ok &= Report(GameAssets::DrawGameIcon(size).SavePng(icon), icon);
    }
    return ok ? 0 : 1;
}
