// One scene drawn in the desktop, embedded and fixed-function set-ups must give the same picture.

#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/mg_basic_shapes.h"
#include "marrowgate/graphics/mg_graphic_list.h"
#include "marrowgate/graphics/mg_sprite.h"
#include "support/gl_test_context.h"
#include "test_images.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

namespace {

using namespace Marrowgate::Graphics;
using QuorvaneTest::GLTestContext;
using QuorvaneTest::RendererSetUp;

class SceneList : public GraphicList
{
};

// Shapes, a translucent overlap, a turned and scaled list, a textured sprite and lines.
void DrawComparisonScene(TextureHandle texture)
{
    BoxShape background(90, 60, Color(ColorPalette::DarkGrey), Vector2(3, 3));
    background.SetDepth(-0.5f);
    CircleShape circle(14, Color(ColorPalette::Orange), Vector2(8, 8), 24);
    BoxShape glass(30, 20, Color(0.5f, 0.2f, 0.6f, 1.0f), Vector2(20, 15));
    glass.SetDepth(0.5f);

    SceneList turned;
    turned.SetPosition(Vector2(70, 40));
    turned.SetOrientation(30.0f);
    turned.SetScale(1.5f);
    turned.AddManagedGraphic(new BoxShape(12, 6, Color(ColorPalette::SkyBlue), Vector2(0, 0)));

    Sprite sprite(texture);
    sprite.SetPosition(Vector2(100, 10));
    sprite.SetScale(Vector2(8, 16));

    background.Render();
    circle.Render();
    glass.Render();
    turned.Render();
    sprite.Render();

    const std::array<Vertex2D, 3> lines = {
        {{5, 70, 0xFF00FF00u, 0, 0}, {60, 70, 0xFF00FF00u, 0, 0}, {60, 76, 0xFF00FF00u, 0, 0}}};
    BindTexture(GetBlankTexture());
    RenderVertices2D(PrimitiveType::LineStrip, lines.data(), static_cast<std::uint32_t>(lines.size()));
}

TEST(SetUpComparisonTest, EverySetUpDrawsTheSamePicture)
{
    const QuorvaneTest::Bytes png = QuorvaneTest::EncodePng(2, 2,
                                                            {255, 0, 0, 255, 0, 255, 0, 128, //
                                                             0, 0, 255, 255, 255, 255, 255, 64});
    const TextureHandle texture =
        CreateTextureFromFileData(png.data(), static_cast<std::int32_t>(png.size()));
    std::array<std::unique_ptr<GLTestContext>, 3> pictures;
    const std::array<RendererSetUp, 3> setUps = {RendererSetUp::Desktop, RendererSetUp::Embedded,
                                                 RendererSetUp::FixedFunction};
    for (std::size_t index = 0; index < setUps.size(); ++index) {
        std::string failure;
        pictures[index] = GLTestContext::Create(setUps[index], 128, 96, failure);
        if (!pictures[index]) {
            GTEST_SKIP() << failure;
        }
        pictures[index]->DrawFrame([&] { DrawComparisonScene(texture); });
        // Keep the picture; let the next set-up have its own context.
        pictures[index]->Detach();
    }
    if (const char* folder = std::getenv("QUORVANE_TEST_PICTURES")) {
        for (std::size_t index = 0; index < setUps.size(); ++index) {
            pictures[index]->SavePicture(std::string(folder) + "/" + QuorvaneTest::SetUpName(setUps[index]) +
                                         ".png");
        }
    }
    ASSERT_TRUE(IsNear(pictures[0]->At(12, 22), QuorvaneTest::Pixel{255, 159, 46}))
        << "the scene was not drawn";
    EXPECT_EQ(pictures[0]->CountDifferentPixels(*pictures[1], 2), 0);
    EXPECT_EQ(pictures[0]->CountDifferentPixels(*pictures[2], 2), 0);
}

} // namespace
