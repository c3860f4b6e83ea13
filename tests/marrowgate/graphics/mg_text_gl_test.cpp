// Text drawn for real in each of the three set-ups: glyph coverage takes the graphic's colour,
// the texture memory counter follows the texts, and the module's resource hooks drop and
// rebuild the textures.

#include "marrowgate/graphics/mg_text.h"

#include "marrowgate/graphics/mg_basic_shapes.h"
#include "marrowgate/graphics/mg_texture_manager.h"
#include "support/error_capture.h"
#include "support/gl_test_context.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace Marrowgate::Graphics;
using QuorvaneTest::GLTestContext;
using QuorvaneTest::Pixel;
using QuorvaneTest::RendererSetUp;

class TextDrawingTest : public testing::TestWithParam<RendererSetUp>
{
protected:
    void SetUp() override
    {
        std::string failure;
        context = GLTestContext::Create(GetParam(), 96, 64, failure);
        if (!context) {
            GTEST_SKIP() << failure;
        }
    }

    QuorvaneTest::ErrorCapture errors;
    std::unique_ptr<GLTestContext> context;
};

TEST_P(TextDrawingTest, GlyphCoverageTakesTheTextColour)
{
    Text text("IH", 48.0f);
    text.SetColor(Color(ColorPalette::Red));
    text.SetPosition(Vector2(8, 4));
    context->DrawFrame([&] { text.Render(); });
    int solid = 0;
    int lit = 0;
    for (int y = 0; y < context->Height(); ++y) {
        for (int x = 0; x < context->Width(); ++x) {
            const Pixel pixel = context->At(x, y);
            // Only red may show: partly covered edges blend red over black.
            EXPECT_LE(pixel.green, 3) << x << ", " << y;
            EXPECT_LE(pixel.blue, 3) << x << ", " << y;
            lit += pixel.red > 3 ? 1 : 0;
            solid += IsNear(pixel, Pixel{255, 0, 0}) ? 1 : 0;
            if (x < 8 || y < 4 || x >= 8 + text.GetPixelWidth() || y >= 4 + text.GetPixelHeight()) {
                EXPECT_LE(pixel.red, 3) << "outside the text at " << x << ", " << y;
            }
        }
    }
    EXPECT_GT(solid, 60); // the stems of I and H are several pixels wide
    EXPECT_GE(lit, solid);
    EXPECT_FALSE(errors.Fired()) << errors.Last();
}

TEST_P(TextDrawingTest, TranslucentTextIsAsBrightAsABoxOfTheSameColour)
{
    // Half-transparent white: a fully covered glyph pixel must match the box, not a quarter.
    const Color halfWhite(0.5f, 1.0f, 1.0f, 1.0f);
    Text text("I", 48.0f);
    text.SetColor(halfWhite);
    text.SetPosition(Vector2(4, 4));
    BoxShape box(16, 16, halfWhite, Vector2(72, 8));
    context->DrawFrame([&] {
        text.Render();
        box.Render();
    });
    const int boxRed = context->At(80, 16).red;
    EXPECT_NEAR(boxRed, 128, 2);
    int brightest = 0;
    for (int y = 4; y < 4 + text.GetPixelHeight(); ++y) {
        for (int x = 4; x < 4 + text.GetPixelWidth(); ++x) {
            const Pixel pixel = context->At(x, y);
            brightest = std::max(brightest, pixel.red);
            EXPECT_TRUE(pixel.red == pixel.green && pixel.green == pixel.blue) << x << ", " << y;
        }
    }
    EXPECT_NEAR(brightest, boxRed, 2);
    EXPECT_FALSE(errors.Fired()) << errors.Last();
}

TEST_P(TextDrawingTest, TextureMemoryFollowsTheTexts)
{
    const std::uint64_t before = GetTextureMemory();
    {
        Text text("Score: 12", 30.0f);
        ASSERT_GT(text.GetTextureWidth(), 0);
        const std::uint64_t bytes = std::uint64_t{text.GetTextureWidth()} * text.GetTextureHeight();
        EXPECT_EQ(GetTextureMemory(), before + bytes);
        text.SetText("Score: 123");
        EXPECT_EQ(GetTextureMemory(),
                  before + std::uint64_t{text.GetTextureWidth()} * text.GetTextureHeight());
        text.SetText("");
        EXPECT_EQ(GetTextureMemory(), before);
        text.SetText("Best: 3");
    }
    EXPECT_EQ(GetTextureMemory(), before);
}

TEST_P(TextDrawingTest, ResourceHooksDropAndRebuildEveryText)
{
    const std::uint64_t before = GetTextureMemory();
    Text text("Quorvane", 20.0f);
    const PixelSpace width = text.GetPixelWidth();
    Text::ReleaseGraphicsResources();
    EXPECT_EQ(GetTextureMemory(), before);
    EXPECT_EQ(text.GetPixelWidth(), 0);
    Text::CreateGraphicsResources();
    EXPECT_EQ(text.GetPixelWidth(), width);
    EXPECT_GT(GetTextureMemory(), before);
    text.SetColor(Color(ColorPalette::White));
    context->DrawFrame([&] { text.Render(); });
    int lit = 0;
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < text.GetPixelHeight(); ++y) {
            lit += context->At(x, y).red > 128 ? 1 : 0;
        }
    }
    EXPECT_GT(lit, 20);
}

INSTANTIATE_TEST_SUITE_P(EverySetUp, TextDrawingTest,
                         testing::Values(RendererSetUp::Desktop, RendererSetUp::Embedded,
                                         RendererSetUp::FixedFunction),
                         [](const testing::TestParamInfo<RendererSetUp>& info) {
                             return QuorvaneTest::SetUpName(info.param);
                         });

} // namespace
