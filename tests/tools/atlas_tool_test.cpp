// The atlas tool: packing keeps every image's pixels apart and whole, and a folder packed by the
// command-line program reads back as a sprite sheet whose frames show the original images.

#include "atlas_packer.h"

#include "marrowgate/graphics/mg_sprite_sheet.h"

#include <gtest/gtest.h>
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using AtlasTool::Atlas;
using AtlasTool::Image;

// A width x height image of one opaque colour inside a transparent border of `border` pixels.
Image Framed(const std::string& name, int width, int height, int border, unsigned char red)
{
    Image image{name, width, height,
                std::vector<unsigned char>(static_cast<std::size_t>(width) * height * 4u, 0)};
    for (int y = border; y < height - border; ++y) {
        for (int x = border; x < width - border; ++x) {
            unsigned char* pixel = &image.rgba[(static_cast<std::size_t>(y) * width + x) * 4u];
            pixel[0] = red;
            pixel[1] = static_cast<unsigned char>(x);
            pixel[2] = static_cast<unsigned char>(y);
            pixel[3] = 255;
        }
    }
    return image;
}

const unsigned char* PixelAt(const Image& image, int x, int y)
{
    return &image.rgba[(static_cast<std::size_t>(y) * image.width + x) * 4u];
}

TEST(AtlasPacker, TrimsEachImageAndKeepsItsPixelsWithAGapOfRepeatedEdges)
{
    const std::vector<Image> images = {Framed("b", 20, 10, 3, 200), Framed("a", 7, 30, 0, 100),
                                       Framed("c", 16, 16, 0, 50)};
    const std::optional<Atlas> atlas = AtlasTool::PackAtlas(images, 256);
    ASSERT_TRUE(atlas);
    ASSERT_EQ(atlas->placed.size(), 3u);
    EXPECT_EQ(atlas->placed[0].name, "a");
    const AtlasTool::PlacedImage& b = atlas->placed[1];
    EXPECT_EQ(b.width, 14);
    EXPECT_EQ(b.height, 4);
    EXPECT_EQ(b.trimX, 3);
    EXPECT_EQ(b.originalWidth, 20);
    for (std::size_t first = 0; first < 3; ++first) {
        const AtlasTool::PlacedImage& one = atlas->placed[first];
        const Image& source = *std::find_if(images.begin(), images.end(),
                                            [&](const Image& image) { return image.name == one.name; });
        for (int y = 0; y < one.height; ++y) {
            for (int x = 0; x < one.width; ++x) {
                ASSERT_EQ(0, std::memcmp(PixelAt(atlas->image, one.x + x, one.y + y),
                                         PixelAt(source, one.trimX + x, one.trimY + y), 4));
            }
        }
        // The column left of the image repeats its first column.
        EXPECT_EQ(
            0, std::memcmp(PixelAt(atlas->image, one.x - 1, one.y), PixelAt(atlas->image, one.x, one.y), 4));
        for (std::size_t second = first + 1; second < 3; ++second) {
            const AtlasTool::PlacedImage& other = atlas->placed[second];
            const bool apart = one.x + one.width + AtlasTool::kGap <= other.x ||
                               other.x + other.width + AtlasTool::kGap <= one.x ||
                               one.y + one.height + AtlasTool::kGap <= other.y ||
                               other.y + other.height + AtlasTool::kGap <= one.y;
            EXPECT_TRUE(apart) << one.name << " and " << other.name;
        }
    }
}

TEST(AtlasPacker, RefusesImagesThatDoNotFitTheLargestSide)
{
    EXPECT_FALSE(AtlasTool::PackAtlas({Framed("big", 100, 10, 0, 1)}, 64));
    EXPECT_FALSE(AtlasTool::PackAtlas({Framed("a", 60, 60, 0, 1), Framed("b", 60, 60, 0, 1)}, 64));
}

TEST(AtlasPacker, DescribesNamesSafelyAsJson)
{
    const std::optional<Atlas> atlas = AtlasTool::PackAtlas({Framed("odd \"name\"\n", 2, 2, 0, 1)}, 64);
    ASSERT_TRUE(atlas);
    const std::string json = AtlasTool::DescribeAtlas(*atlas, "x.png");
    EXPECT_NE(json.find(R"("odd \"name\"\u000a")"), std::string::npos) << json;
}

class AtlasToolProgram : public testing::Test
{
protected:
    void SetUp() override
    {
        folder = std::filesystem::temp_directory_path() /
                 ("atlas_tool_test_" + std::to_string(::getpid()) + "_" +
                  testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder / "images");
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    void WritePng(const Image& image) const
    {
        const std::string path = (folder / "images" / (image.name + ".png")).string();
        ASSERT_NE(0, stbi_write_png(path.c_str(), image.width, image.height, 4, image.rgba.data(),
                                    image.width * 4));
    }

    // Exit status and what the program printed on both streams.
    std::pair<int, std::string> Run() const
    {
        const std::string command = std::string(ATLAS_TOOL_PATH) + " " + (folder / "images").string() + " " +
                                    (folder / "sheet").string() + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        std::string output;
        char buffer[256];
        while (std::fgets(buffer, sizeof(buffer), pipe) != nullptr) {
            output += buffer;
        }
        const int status = pclose(pipe);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
    }

    std::filesystem::path folder;
};

TEST_F(AtlasToolProgram, PacksAFolderIntoASheetWhoseFramesShowEachImage)
{
    const std::vector<Image> images = {Framed("hero_0", 12, 12, 2, 10), Framed("hero_1", 12, 12, 1, 20),
                                       Framed("tile", 32, 8, 0, 30)};
    for (const Image& image : images) {
        WritePng(image);
    }
    const auto [status, output] = Run();
    ASSERT_EQ(status, 0) << output;
    using namespace Marrowgate::Graphics;
    const SpriteSheet sheet = SpriteSheet::LoadFromFile((folder / "sheet.json").string());
    ASSERT_EQ(sheet.GetFrameCount(), 3u);
    int atlasWidth = 0;
    int atlasHeight = 0;
    int channels = 0;
    unsigned char* atlas =
        stbi_load((folder / "sheet.png").string().c_str(), &atlasWidth, &atlasHeight, &channels, 4);
    ASSERT_NE(atlas, nullptr);
    for (const Image& image : images) {
        const SheetFrame& frame = sheet.GetFrame(*sheet.FindFrameIndex(image.name));
        EXPECT_FLOAT_EQ(frame.untrimmedWidth, static_cast<float>(image.width));
        // The middle pixel of the image, found through the frame's rectangle and trim.
        const int x = image.width / 2;
        const int y = image.height / 2;
        const int atlasX = static_cast<int>(frame.image.x - frame.trimOffset.x) + x;
        const int atlasY = static_cast<int>(frame.image.y - frame.trimOffset.y) + y;
        EXPECT_EQ(0, std::memcmp(&atlas[(static_cast<std::size_t>(atlasY) * atlasWidth + atlasX) * 4u],
                                 PixelAt(image, x, y), 4))
            << image.name;
    }
    stbi_image_free(atlas);
}

TEST_F(AtlasToolProgram, ADamagedImageIsNamedAndNothingIsWritten)
{
    WritePng(Framed("fine", 4, 4, 0, 1));
    std::ofstream(folder / "images" / "broken.png") << "not a png";
    const auto [status, output] = Run();
    EXPECT_EQ(status, 1);
    EXPECT_NE(output.find("broken.png"), std::string::npos) << output;
    EXPECT_FALSE(std::filesystem::exists(folder / "sheet.png"));
    EXPECT_FALSE(std::filesystem::exists(folder / "sheet.json"));
}

} // namespace
