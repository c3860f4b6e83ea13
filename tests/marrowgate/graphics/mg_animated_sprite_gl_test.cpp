// Animated sprites on screen in every set-up: the frame a step count reaches, ping-pong's turn,
// flips, pivots, and a crowd of them batching like plain sprites.

#include "marrowgate/core/mg_json_parser.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/mg_animated_sprite.h"
#include "marrowgate/graphics/mg_graphic_list.h"
#include "marrowgate/graphics/mg_sprite.h"
#include "support/error_capture.h"
#include "support/gl_test_context.h"
#include "test_images.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace {

using namespace Marrowgate::Graphics;
using QuorvaneTest::GLTestContext;
using QuorvaneTest::Pixel;
using QuorvaneTest::RendererSetUp;

class SceneList : public GraphicList
{
};

const std::array<Pixel, 4> kFrameColors = {{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}}};
const Pixel kWhite{255, 255, 255};

// Four 4 x 4 frames in a row; each has its own colour in its top-left quadrant and white elsewhere,
// so a flip shows where the colour went.
TextureHandle QuadrantStrip()
{
    QuorvaneTest::Bytes pixels;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool isMarked = x % 4 < 2 && y < 2;
            const Pixel& color = isMarked ? kFrameColors[static_cast<std::size_t>(x / 4)] : kWhite;
            pixels.insert(pixels.end(),
                          {static_cast<unsigned char>(color.red), static_cast<unsigned char>(color.green),
                           static_cast<unsigned char>(color.blue), 255});
        }
    }
    const QuorvaneTest::Bytes png = QuorvaneTest::EncodePng(16, 4, pixels);
    return CreateTextureFromFileData(png.data(), static_cast<std::int32_t>(png.size()));
}

class AnimatedSpriteTest : public testing::TestWithParam<RendererSetUp>
{
protected:
    void SetUp() override
    {
        std::string failure;
        context = GLTestContext::Create(GetParam(), 64, 64, failure);
        if (!context) {
            GTEST_SKIP() << failure;
        }
        sheet = SpriteSheet::FromDescription(Marrowgate::Core::ParseJson(R"({
            "grid": {"frameWidth": 4, "frameHeight": 4},
            "animations": {"swing": {"frames": [0, 1, 2, 3], "durations": [10, 10, 10, 10], "mode": "pingpong"}}})"),
                                             QuadrantStrip(), "strip.json");
        ASSERT_EQ(sheet.GetFrameCount(), 4u);
    }

    // The sprite is drawn 8 times its size at (8, 8), so each 2 x 2 texel quadrant covers 16 x 16
    // pixels with its middle, where filtering mixes only texels of one colour, at (16, 16),
    // (32, 16), (16, 32) and (32, 32). Returns the top-left quadrant's colour.
    Pixel Draw(AnimatedSprite& sprite)
    {
        sprite.SetPosition(Vector2(8, 8));
        sprite.SetScale(8.0f);
        context->DrawFrame([&] { sprite.Render(); });
        return context->At(16, 16);
    }

    std::unique_ptr<GLTestContext> context;
    SpriteSheet sheet;
};

TEST_P(AnimatedSpriteTest, EachStepShowsTheFrameItReachesIncludingPingPongsTurn)
{
    AnimatedSprite sprite(sheet);
    ASSERT_TRUE(sprite.Play("swing"));
    EXPECT_TRUE(QuorvaneTest::IsNear(Draw(sprite), kFrameColors[0]));
    for (const std::size_t expected : {1, 2, 3, 2, 1, 0, 1}) {
        sprite.Advance(10);
        EXPECT_TRUE(QuorvaneTest::IsNear(Draw(sprite), kFrameColors[expected]))
            << "expected frame " << expected;
    }
}

TEST_P(AnimatedSpriteTest, FlipsMirrorTheFrameInPlace)
{
    AnimatedSprite sprite(sheet);
    sprite.SetFlipped(true, false);
    EXPECT_TRUE(QuorvaneTest::IsNear(Draw(sprite), kWhite));
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(32, 16), kFrameColors[0]));
    sprite.SetFlipped(false, true);
    Draw(sprite);
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(16, 32), kFrameColors[0]));
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(32, 32), kWhite));
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(4, 4), Pixel{0, 0, 0})) << "the frame stays in its box";
}

TEST_P(AnimatedSpriteTest, AFramesPivotLandsOnTheSpritesPositionAndFlipsTurnAboutIt)
{
    SpriteSheet pivoted = SpriteSheet::FromDescription(
        Marrowgate::Core::ParseJson(
            R"({"frames": {"f": {"x": 4, "y": 0, "w": 4, "h": 4, "pivot": [2, 4]}}})"),
        sheet.GetTexture(), "pivot.json");
    AnimatedSprite sprite(pivoted);
    sprite.SetPosition(Vector2(32, 40));
    sprite.SetScale(8.0f);
    context->DrawFrame([&] { sprite.Render(); });
    // The frame spans x 16 to 48 and y 8 to 40; its coloured quadrant is the top-left one.
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(24, 16), kFrameColors[1]));
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(40, 32), kWhite));
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(44, 44), Pixel{0, 0, 0}));
    sprite.SetFlipped(true, false);
    context->DrawFrame([&] { sprite.Render(); });
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(40, 16), kFrameColors[1]));
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(24, 32), kWhite));
}

TEST_P(AnimatedSpriteTest, AThousandAnimatedSpritesCostNoMoreDrawCallsThanAThousandPlainOnes)
{
    SceneList animated;
    SceneList plain;
    for (int index = 0; index < 1000; ++index) {
        const Vector2 position(static_cast<float>(index % 16) * 4.0f, static_cast<float>(index / 16));
        auto* sprite = new AnimatedSprite(sheet);
        sprite->Play("swing");
        sprite->Advance(static_cast<std::uint32_t>(index % 7) * 10u); // every phase in the crowd
        sprite->SetFlipped(index % 2 == 0, index % 3 == 0);
        sprite->SetPosition(position);
        animated.AddManagedGraphic(sprite);
        auto* still = new Sprite(sheet.GetTexture(), 0, 0, 4, 4);
        still->SetPosition(position);
        plain.AddManagedGraphic(still);
    }
    const auto drawCalls = [&](SceneList& list) {
        const std::uint64_t before = GetDrawCallCount();
        context->DrawFrame([&] { list.Render(); });
        return GetDrawCallCount() - before;
    };
    const std::uint64_t plainCalls = drawCalls(plain);
    EXPECT_LE(drawCalls(animated), plainCalls);
    EXPECT_LE(plainCalls, 3u);
}

INSTANTIATE_TEST_SUITE_P(EverySetUp, AnimatedSpriteTest,
                         testing::Values(RendererSetUp::Desktop, RendererSetUp::Embedded,
                                         RendererSetUp::FixedFunction),
                         [](const testing::TestParamInfo<RendererSetUp>& info) {
                             return QuorvaneTest::SetUpName(info.param);
                         });

} // namespace
