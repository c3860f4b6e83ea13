// Laid-out text on screen in every set-up: the last line's ink lies where its bounds say for each
// alignment, an outline surrounds the letters, and an unchanged line is not rasterised again.

#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/mg_text_block.h"
#include "marrowgate/graphics/mg_texture_manager.h"
#include "support/gl_test_context.h"

#include <gtest/gtest.h>

namespace {

using namespace Marrowgate::Graphics;
using QuorvaneTest::GLTestContext;
using QuorvaneTest::RendererSetUp;

class TextBlockDrawingTest : public testing::TestWithParam<RendererSetUp>
{
protected:
    void SetUp() override
    {
        std::string failure;
        context = GLTestContext::Create(GetParam(), 256, 160, failure);
        if (!context) {
            GTEST_SKIP() << failure;
        }
    }

    // The leftmost and rightmost columns with ink (red above 100) in rows [top, bottom).
    std::pair<int, int> InkColumns(int top, int bottom) const
    {
        int left = context->Width();
        int right = -1;
        for (int y = top; y < bottom; ++y) {
            for (int x = 0; x < context->Width(); ++x) {
                if (context->At(x, y).red > 100) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        return {left, right};
    }

    std::unique_ptr<GLTestContext> context;
};

TEST_P(TextBlockDrawingTest, EachAlignmentPutsTheLastLinesInkWhereItsBoundsSay)
{
    TextBlock block("Wrapped words fill this block line by line until done", 20.0f);
    block.SetWrapWidth(200.0f);
    block.SetPosition(Vector2(20, 10));
    block.SetColor(Color(ColorPalette::Red));
    ASSERT_EQ(block.GetLineCount(), 3u);
    for (const TextAlignment alignment : {TextAlignment::Left, TextAlignment::Center, TextAlignment::Right}) {
        block.SetAlignment(alignment);
        context->DrawFrame([&] { block.Render(); });
        const TextLineBounds last = block.GetLineBounds(2);
        const auto [left, right] =
            InkColumns(10 + static_cast<int>(last.y), 10 + static_cast<int>(last.y + last.height));
        // Ink starts within a few pixels of the line's box (glyphs have side bearings).
        EXPECT_NEAR(left, 20.0f + last.x, 4.0f) << static_cast<int>(alignment);
        EXPECT_NEAR(right + 1, 20.0f + last.x + last.width, 4.0f) << static_cast<int>(alignment);
    }
}

TEST_P(TextBlockDrawingTest, AnOutlineSurroundsTheLettersAndChangingOneLineKeepsTheOthersTextures)
{
    TextBlock block("IIII\n00:00", 30.0f);
    block.SetPosition(Vector2(10, 10));
    block.SetColor(Color(ColorPalette::Red));
    block.SetEffect(TextEffect::Outline, Color(ColorPalette::Green), 2.0f);
    context->DrawFrame([&] { block.Render(); });
    int green = 0;
    for (int y = 0; y < context->Height(); ++y) {
        for (int x = 0; x < context->Width(); ++x) {
            green += context->At(x, y).green > 200 && context->At(x, y).red < 50 ? 1 : 0;
        }
    }
    EXPECT_GT(green, 50) << "no outline";
    // A timer's line changes; the first line keeps its texture and the memory stays level.
    const std::uint64_t memory = GetTextureMemory();
    for (int second = 1; second < 60; ++second) {
        block.SetText("IIII\n00:" + std::string(second < 10 ? "0" : "") + std::to_string(second));
    }
    EXPECT_EQ(block.GetLineText(0), "IIII");
    EXPECT_EQ(GetTextureMemory(), memory);
}

INSTANTIATE_TEST_SUITE_P(EverySetUp, TextBlockDrawingTest,
                         testing::Values(RendererSetUp::Desktop, RendererSetUp::Embedded,
                                         RendererSetUp::FixedFunction),
                         [](const testing::TestParamInfo<RendererSetUp>& info) {
                             return QuorvaneTest::SetUpName(info.param);
                         });

} // namespace
