#include "marrowgate/graphics/mg_sprite.h"
#include "support/error_capture.h"
#include "test_images.h"

#include <gtest/gtest.h>

namespace {

using namespace Marrowgate::Graphics;

class SpriteFrameTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { sTexture = CreateBlankTexture(512, 256); }
    static TextureHandle sTexture;
};

TextureHandle SpriteFrameTest::sTexture = InvalidTexture;

TEST_F(SpriteFrameTest, ZeroSizesCoverTheWholeTexture)
{
    const SpriteFrame frame = CreateSpriteFrame(sTexture, 0, 0, 0, 0);
    EXPECT_FLOAT_EQ(frame.width, 512.0f);
    EXPECT_FLOAT_EQ(frame.height, 256.0f);
    EXPECT_FLOAT_EQ(frame.u, 0.0f);
    EXPECT_FLOAT_EQ(frame.v, 0.0f);
    EXPECT_FLOAT_EQ(frame.uWidth, 1.0f);
    EXPECT_FLOAT_EQ(frame.vHeight, 1.0f);
    EXPECT_EQ(frame.texture, sTexture);
}

TEST_F(SpriteFrameTest, FramesAreMeasuredInTextureCoordinates)
{
    const SpriteFrame frame = CreateSpriteFrame(sTexture, 256, 64, 256, 128);
    EXPECT_FLOAT_EQ(frame.u, 0.5f);
    EXPECT_FLOAT_EQ(frame.uWidth, 0.5f);
    EXPECT_FLOAT_EQ(frame.v, 0.25f);
    EXPECT_FLOAT_EQ(frame.vHeight, 0.5f);
}

TEST_F(SpriteFrameTest, FramesThatDoNotFitAreReportedAndLeftEmpty)
{
    const std::vector<std::pair<std::array<PixelSpace, 4>, std::string>> cases = {
        {{257, 0, 256, 256},
         "mgExternalError: Expected frameX location to allow frame (width) to fit on texture."},
        {{0, 1, 0, 256},
         "mgExternalError: Expected frameY location to allow frame (height) to fit on texture."},
        {{0, 0, 513, 0}, "mgExternalError: Expected frameWidth to be less than or equal to textureWidth"},
        {{0, 0, 0, 300}, "mgExternalError: Expected frameHeight to be less than or equal to textureHeight"},
    };
    for (const auto& [numbers, message] : cases) {
        QuorvaneTest::ErrorCapture errors;
        const SpriteFrame frame = CreateSpriteFrame(sTexture, numbers[0], numbers[1], numbers[2], numbers[3]);
        ASSERT_EQ(errors.messages.size(), 1u) << message;
        EXPECT_EQ(errors.Last(), message);
        EXPECT_EQ(frame.texture, InvalidTexture);
    }
    QuorvaneTest::ErrorCapture errors;
    CreateSpriteFrame(InvalidTexture, 0, 0, 0, 0);
    EXPECT_EQ(errors.Last(),
              "mgExternalError: Expected texture handle to be valid when creating SpriteFrame.");
}

TEST_F(SpriteFrameTest, ASpritesPixelSizeIsItsFrameWhateverItsScale)
{
    Sprite sprite(sTexture, 0, 0, 100, 40);
    sprite.SetScale(3.0f);
    EXPECT_EQ(sprite.GetPixelWidth(), 100);
    EXPECT_EQ(sprite.GetPixelHeight(), 40);
}

TEST(SpriteTest, SpritesOfOneFileShareItsTexture)
{
    const QuorvaneTest::ScratchFolder folder;
    const std::string path =
        folder.Write("frames.png", QuorvaneTest::EncodePng(4, 2, QuorvaneTest::Bytes(32, 200)));
    const Sprite left(path, 0, 0, 2, 2);
    const Sprite right(path, 2, 0, 2, 2);
    EXPECT_EQ(left.GetFrame().texture, right.GetFrame().texture);
    EXPECT_EQ(GetTextureReferenceCount(left.GetFrame().texture), 2u);
    EXPECT_FLOAT_EQ(right.GetFrame().u, 0.5f);
}

} // namespace
