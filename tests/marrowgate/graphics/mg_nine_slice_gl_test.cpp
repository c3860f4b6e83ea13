// Nine-slice panels in every set-up: corners stay unscaled at any panel size, edges and middle
// stretch, and all nine pieces cost one draw call.

#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/mg_nine_slice.h"
#include "support/error_capture.h"
#include "support/gl_test_context.h"
#include "test_images.h"

#include <gtest/gtest.h>

namespace {

using namespace Marrowgate::Graphics;
using QuorvaneTest::GLTestContext;
using QuorvaneTest::Pixel;
using QuorvaneTest::RendererSetUp;

const Pixel kCorner{255, 0, 0};
const Pixel kEdge{0, 255, 0};
const Pixel kMiddle{0, 0, 255};

// 6 x 6: 2-pixel red corners, green edges, a blue middle; nearest filtering keeps them apart.
TextureHandle PanelTexture()
{
    QuorvaneTest::Bytes pixels;
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            const int borders = (x < 2 || x >= 4 ? 1 : 0) + (y < 2 || y >= 4 ? 1 : 0);
            const Pixel& color = borders == 2 ? kCorner : borders == 1 ? kEdge : kMiddle;
            pixels.insert(pixels.end(),
                          {static_cast<unsigned char>(color.red), static_cast<unsigned char>(color.green),
                           static_cast<unsigned char>(color.blue), 255});
        }
    }
    const QuorvaneTest::Bytes png = QuorvaneTest::EncodePng(6, 6, pixels);
    const TextureHandle texture =
        CreateTextureFromFileData(png.data(), static_cast<std::int32_t>(png.size()));
    SetTextureSmoothing(texture, false);
    return texture;
}

class NineSliceTest : public testing::TestWithParam<RendererSetUp>
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
    std::unique_ptr<GLTestContext> context;
};

TEST_P(NineSliceTest, CornersStayUnscaledWhileEdgesAndMiddleStretch)
{
    const TextureHandle texture = PanelTexture();
    NineSlicePanel panel(CreateSpriteFrame(texture, 0, 0, 0, 0), {2, 2, 2, 2}, 10, 10);
    panel.SetPosition(Vector2(4, 4));
    for (const auto& [width, height] :
         {std::pair{10.0f, 10.0f}, std::pair{40.0f, 20.0f}, std::pair{80.0f, 50.0f}}) {
        panel.SetSize(width, height);
        const std::uint64_t before = GetDrawCallCount();
        context->DrawFrame([&] { panel.Render(); });
        EXPECT_EQ(GetDrawCallCount() - before, 1u);
        const int right = 4 + static_cast<int>(width) - 1;
        const int bottom = 4 + static_cast<int>(height) - 1;
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        // Each corner is exactly 2 x 2 pixels, whatever the size.
        for (const auto& [x, y] :
             {std::pair{4, 4}, std::pair{5, 5}, std::pair{right, bottom}, std::pair{right - 1, 4}}) {
            EXPECT_TRUE(QuorvaneTest::IsNear(context->At(x, y), kCorner)) << x << ", " << y;
        }
        EXPECT_TRUE(QuorvaneTest::IsNear(context->At(6, 4), kEdge));
        EXPECT_TRUE(QuorvaneTest::IsNear(context->At(right - 2, bottom), kEdge));
        EXPECT_TRUE(QuorvaneTest::IsNear(context->At(4, bottom - 2), kEdge));
        EXPECT_TRUE(QuorvaneTest::IsNear(context->At(6, 6), kMiddle));
        EXPECT_TRUE(QuorvaneTest::IsNear(context->At(right - 2, bottom - 2), kMiddle));
        EXPECT_TRUE(QuorvaneTest::IsNear(context->At(right + 1, bottom + 1), Pixel{0, 0, 0}));
    }
}

TEST_P(NineSliceTest, BordersWiderThanTheRegionAreReportedAndCutToFit)
{
    QuorvaneTest::ErrorCapture errors;
    NineSlicePanel panel(CreateSpriteFrame(PanelTexture(), 0, 0, 0, 0), {5, 1, 5, 1}, 20, 20);
    ASSERT_TRUE(errors.Fired());
    EXPECT_NE(errors.Last().find("do not fit the 6 x 6 region"), std::string::npos) << errors.Last();
    context->DrawFrame([&] { panel.Render(); });
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(1, 1), kCorner));
}

INSTANTIATE_TEST_SUITE_P(EverySetUp, NineSliceTest,
                         testing::Values(RendererSetUp::Desktop, RendererSetUp::Embedded,
                                         RendererSetUp::FixedFunction),
                         [](const testing::TestParamInfo<RendererSetUp>& info) {
                             return QuorvaneTest::SetUpName(info.param);
                         });

} // namespace
