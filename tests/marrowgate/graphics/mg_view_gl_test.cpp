// The logical view on screen in every set-up: bars and picture where the placement says at
// several window sizes, scaled and pixel for pixel, none where the picture covers the window,
// integer scaling keeping logical pixels as sharp squares, and the pixel-for-pixel picture
// copied rather than drawn where the context can copy.

#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/mg_basic_shapes.h"
#include "marrowgate/graphics/mg_view.h"
#include "support/error_capture.h"
#include "support/gl_test_context.h"

#include <gtest/gtest.h>

namespace {

using namespace Marrowgate::Graphics;
using QuorvaneTest::GLTestContext;
using QuorvaneTest::Pixel;
using QuorvaneTest::RendererSetUp;

const Pixel kRed{255, 0, 0};
const Pixel kGreen{0, 255, 0};
const Pixel kBar{0, 0, 255};

class ViewDrawingTest : public testing::TestWithParam<RendererSetUp>
{
protected:
    void TearDown() override { ResetView(); }

    // A 40 x 30 logical picture: red, with a green 4 x 4 square in its top-left corner.
    static void DrawPicture()
    {
        RenderThroughView([] {
            BoxShape(40, 30, Color(ColorPalette::Red), Vector2(0, 0)).Render();
            BoxShape(4, 4, Color(ColorPalette::Green), Vector2(0, 0)).Render();
        });
    }

    QuorvaneTest::ErrorCapture errors;
};

TEST_P(ViewDrawingTest, FitShowsBarsAndThePictureWhereThePlacementSaysScaledAndPixelForPixel)
{
    struct Case
    {
        int width;
        int height;
    };
    // Pillarbox, letterbox and an exact fit, scaled; then pillarbox and letterbox pixel for
    // pixel, where the picture is copied rather than drawn.
    for (const Case size : {Case{160, 90}, Case{100, 150}, Case{80, 60}, Case{50, 30}, Case{40, 37}}) {
        std::string failure;
        std::unique_ptr<GLTestContext> context =
            GLTestContext::Create(GetParam(), size.width, size.height, failure);
        if (!context) {
            GTEST_SKIP() << failure;
        }
        SetLogicalView(40, 30, ViewScaling::Fit, Color(ColorPalette::Blue));
        context->DrawFrame(DrawPicture);
        const ViewPlacement placement = GetViewPlacement();
        const int left = static_cast<int>(placement.x);
        const int top = static_cast<int>(placement.y);
        const int right = left + static_cast<int>(placement.width) - 1;
        const int bottom = top + static_cast<int>(placement.height) - 1;
        SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height));
        EXPECT_TRUE(QuorvaneTest::IsNear(context->At(left + 1, top + 1), kGreen));
        EXPECT_TRUE(QuorvaneTest::IsNear(context->At(right, bottom), kRed));
        EXPECT_TRUE(QuorvaneTest::IsNear(context->At(right, top), kRed));
        if (left > 0) {
            EXPECT_TRUE(QuorvaneTest::IsNear(context->At(left - 1, top), kBar));
            EXPECT_TRUE(QuorvaneTest::IsNear(context->At(right + 1, bottom), kBar));
        }
        if (top > 0) {
            EXPECT_TRUE(QuorvaneTest::IsNear(context->At(left, top - 1), kBar));
            EXPECT_TRUE(QuorvaneTest::IsNear(context->At(right, bottom + 1), kBar));
        }
        // The mouse at the picture's corner pixels is at the logical corners.
        EXPECT_EQ(static_cast<int>(WindowToView(Vector2(left + 0.5f, top + 0.5f)).x), 0);
        EXPECT_EQ(static_cast<int>(WindowToView(Vector2(right + 0.5f, bottom + 0.5f)).y), 29);
        context.reset();
    }
    EXPECT_FALSE(errors.Fired()) << errors.Last();
}

TEST_P(ViewDrawingTest, IntegerScaleDrawsEachLogicalPixelAsASharpSquare)
{
    std::string failure;
    std::unique_ptr<GLTestContext> context = GLTestContext::Create(GetParam(), 100, 75, failure);
    if (!context) {
        GTEST_SKIP() << failure;
    }
    SetLogicalView(40, 30, ViewScaling::IntegerScale, Color(ColorPalette::Blue));
    context->DrawFrame(DrawPicture);
    // 2x at (10, 7): the green square covers window 10 to 17; 18 is already red, with no blend.
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(17, 14), kGreen, 0));
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(18, 14), kRed, 0));
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(9, 14), kBar, 0));
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(89, 66), kRed, 0));
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(90, 66), kBar, 0));
}

// The bars are only the strips the picture leaves: a picture that overhangs the window (Fill)
// leaves none, and one shown pixel for pixel (Fit at the logical size) covers it exactly.
TEST_P(ViewDrawingTest, APictureThatCoversTheWholeWindowLeavesNoBar)
{
    struct Case
    {
        int width;
        int height;
        ViewScaling scaling;
        Pixel topLeft;
    };
    // Fill at 2x places the picture at y = -10: the green square is cropped away.
    for (const Case size : {Case{80, 40, ViewScaling::Fill, kRed}, Case{40, 30, ViewScaling::Fit, kGreen}}) {
        std::string failure;
        std::unique_ptr<GLTestContext> context =
            GLTestContext::Create(GetParam(), size.width, size.height, failure);
        if (!context) {
            GTEST_SKIP() << failure;
        }
        SetLogicalView(40, 30, size.scaling, Color(ColorPalette::Blue));
        context->DrawFrame(DrawPicture);
        int bars = 0;
        for (int y = 0; y < size.height; ++y) {
            for (int x = 0; x < size.width; ++x) {
                bars += QuorvaneTest::IsNear(context->At(x, y), kBar, 8) ? 1 : 0;
            }
        }
        EXPECT_EQ(bars, 0) << size.width << " x " << size.height;
        EXPECT_TRUE(QuorvaneTest::IsNear(context->At(0, 0), size.topLeft, 0)) << size.width;
        EXPECT_TRUE(QuorvaneTest::IsNear(context->At(size.width - 1, size.height - 1), kRed, 0))
            << size.width;
        EXPECT_FALSE(errors.Fired()) << errors.Last();
    }
}

// Shown pixel for pixel, the picture reaches the window as a copy where the context can copy
// between framebuffers (desktop, not multisampled), so only the drawing inside the view draws.
TEST_P(ViewDrawingTest, APictureShownPixelForPixelIsCopiedWithoutADrawWhereTheContextCanCopy)
{
    std::string failure;
    std::unique_ptr<GLTestContext> context = GLTestContext::Create(GetParam(), 40, 30, failure);
    if (!context) {
        GTEST_SKIP() << failure;
    }
    SetLogicalView(40, 30, ViewScaling::Fit, Color(ColorPalette::Blue));
    context->DrawFrame(DrawPicture);
    std::uint64_t drawsInside = 0;
    std::uint64_t drawsInAll = 0;
    context->DrawFrame([&] {
        const std::uint64_t before = GetDrawCallCount();
        RenderThroughView([&] {
            BoxShape(40, 30, Color(ColorPalette::Red), Vector2(0, 0)).Render();
            Flush();
            drawsInside = GetDrawCallCount() - before;
        });
        Flush();
        drawsInAll = GetDrawCallCount() - before;
    });
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(39, 29), kRed, 0));
    const std::uint64_t copyDraws = GetParam() == RendererSetUp::Embedded ? 1u : 0u;
    EXPECT_EQ(drawsInAll - drawsInside, copyDraws);
}

INSTANTIATE_TEST_SUITE_P(EverySetUp, ViewDrawingTest,
                         testing::Values(RendererSetUp::Desktop, RendererSetUp::Embedded,
                                         RendererSetUp::FixedFunction),
                         [](const testing::TestParamInfo<RendererSetUp>& info) {
                             return QuorvaneTest::SetUpName(info.param);
                         });

} // namespace
