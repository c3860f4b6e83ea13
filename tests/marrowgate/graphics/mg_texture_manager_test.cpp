// Decoding, caching and the checks of the texture manager. Without a context the manager keeps
// its records and leaves the OpenGL objects for CreateGraphicsResources, so no window is needed.

#include "marrowgate/graphics/implementation/mgi_image_decoder.h"
#include "marrowgate/graphics/mg_texture_manager.h"
#include "support/error_capture.h"
#include "test_images.h"

#include <gtest/gtest.h>

namespace {

using namespace Marrowgate::Graphics;
using QuorvaneTest::Bytes;
using QuorvaneTest::EncodePng;

const Bytes kTwoPixels = {255, 128, 0, 128, 10, 20, 30, 255};

TEST(ImageDecodingTest, PremultipliesEveryPixelByItsAlpha)
{
    const auto image = mgImplementation::DecodeImageData(EncodePng(2, 1, kTwoPixels));
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(image->height, 1);
    EXPECT_EQ(image->pixels, (Bytes{128, 64, 0, 128, 10, 20, 30, 255}));
}

TEST(TextureManagerTest, LoadsAFileOnceAndCountsLaterRequests)
{
    const QuorvaneTest::ScratchFolder folder;
    const std::string path = folder.Write("two.png", EncodePng(2, 1, kTwoPixels));
    QuorvaneTest::ErrorCapture errors;
    const TextureHandle first = CreateTextureFromFile(path);
    const TextureHandle second = CreateTextureFromFile(path);
    ASSERT_NE(first, InvalidTexture);
    EXPECT_EQ(second, first);
    EXPECT_EQ(GetTextureReferenceCount(first), 2u);
    EXPECT_EQ(GetTextureWidth(first), 2);
    EXPECT_EQ(GetTextureHeight(first), 1);
    EXPECT_FALSE(errors.Fired());
}

TEST(TextureManagerTest, ReportsFilesThatAreNotImagesAndGivesNoTexture)
{
    const QuorvaneTest::ScratchFolder folder;
    const Bytes png = EncodePng(2, 1, kTwoPixels);
    const std::vector<std::string> paths = {
        folder.Write("empty.png", {}),
        folder.Write("text.png", Bytes{'h', 'e', 'l', 'l', 'o'}),
        folder.Write("truncated.png",
                     Bytes(png.begin(), png.begin() + static_cast<std::ptrdiff_t>(png.size() / 2))),
        folder.Write("header.png", QuorvaneTest::PngHeaderOnly(4, 4)),
        "no/such/file.png",
    };
    for (const std::string& path : paths) {
        QuorvaneTest::ErrorCapture errors;
        EXPECT_EQ(CreateTextureFromFile(path), InvalidTexture) << path;
        // A file that cannot be opened at all has the reader's report first.
        ASSERT_EQ(errors.messages.size(), path == paths.back() ? 2u : 1u) << path;
        EXPECT_EQ(errors.Last(), "mgExternalError: Texture \"" + path + "\" could not be loaded from file.");
    }
}

TEST(TextureManagerTest, RefusesImagesWiderThanAPixelCountWithoutDecodingThem)
{
    const QuorvaneTest::ScratchFolder folder;
    const std::string wide = folder.Write("wide.png", QuorvaneTest::PngHeaderOnly(70000, 2));
    QuorvaneTest::ErrorCapture errors;
    EXPECT_EQ(CreateTextureFromFile(wide), InvalidTexture);
    ASSERT_EQ(errors.messages.size(), 2u);
    EXPECT_EQ(errors.messages[0],
              "mgError: Expected imageWidth of texture \"" + wide +
                  "\" to be in range: (0 < imageWidth <= 65536), in-precise cast to PixelSpace.");
    EXPECT_EQ(errors.messages[1],
              "mgCastingError: Value is outside the range of the following cast. File: \"" + wide + "\"");
}

TEST(TextureManagerTest, RefusesHugePicturesBeforeAllocatingForThem)
{
    QuorvaneTest::ErrorCapture errors;
    const Bytes huge = QuorvaneTest::PngHeaderOnly(12000, 12000);
    EXPECT_EQ(CreateTextureFromFileData(huge.data(), static_cast<std::int32_t>(huge.size())), InvalidTexture);
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.Last(),
              "mgExternalError: Texture \"file data\" could not be loaded from file data provided, corrupt?");
}

TEST(TextureManagerTest, ChecksDataInMemory)
{
    const Bytes png = EncodePng(2, 1, kTwoPixels);
    QuorvaneTest::ErrorCapture errors;
    EXPECT_EQ(CreateTextureFromFileData(nullptr, 10), InvalidTexture);
    EXPECT_EQ(errors.Last(),
              "mgExternalError: The fileDataInMemory parameter is expected to be a valid pointer.");
    EXPECT_EQ(CreateTextureFromFileData(png.data(), -1), InvalidTexture);
    EXPECT_EQ(errors.Last(),
              "mgError: TextureData fileSizeInBytes too large for following cast into int, corrupt size?");
    EXPECT_EQ(CreateTextureFromFileData(png.data(), 20), InvalidTexture);
    EXPECT_EQ(errors.messages.size(), 3u);

    const TextureHandle texture =
        CreateTextureFromFileData(png.data(), static_cast<std::int32_t>(png.size()));
    EXPECT_EQ(GetTextureWidth(texture), 2);
    EXPECT_EQ(errors.messages.size(), 3u);
}

TEST(TextureManagerTest, BlankTexturesNeedBothSizes)
{
    QuorvaneTest::ErrorCapture errors;
    EXPECT_EQ(CreateBlankTexture(0, 4), InvalidTexture);
    EXPECT_EQ(errors.Last(), "mgExternalError: The textureWidth must be greater than 0.");
    EXPECT_EQ(CreateBlankTexture(4, 0), InvalidTexture);
    EXPECT_EQ(errors.Last(), "mgExternalError: The textureHeight must be greater than 0.");
    const TextureHandle blank = CreateBlankTexture(3, 5);
    EXPECT_EQ(GetTextureHeight(blank), 5);
}

TEST(TextureManagerTest, SizeQueriesAnswerZeroForNoTextureAndReportUnknownHandles)
{
    QuorvaneTest::ErrorCapture errors;
    EXPECT_EQ(GetTextureWidth(InvalidTexture), 0);
    EXPECT_FALSE(errors.Fired());
    EXPECT_EQ(GetTextureHeight(123456), 0);
    EXPECT_EQ(errors.Last(), "mgError: Attempting to get a texture that does not exist! Invalid Handle.");
}

TEST(TextureManagerTest, TextureMemoryNeverGoesBelowZero)
{
    const std::uint64_t before = GetTextureMemory();
    AddTextureMemory(4096);
    RemoveTextureMemory(4096);
    EXPECT_EQ(GetTextureMemory(), before);

    RemoveTextureMemory(static_cast<std::uint32_t>(before));
    QuorvaneTest::ErrorCapture errors;
    RemoveTextureMemory(1);
    EXPECT_EQ(errors.Last(), "mgInteralError: Expected numberOfBytes to be <= currently used memory.");
    EXPECT_EQ(GetTextureMemory(), 0u);
}

} // namespace
