// Graphics, shapes, sprites and textures drawn for real, in each of the three set-ups.

#include "marrowgate/graphics/mg_basic_shapes.h"
#include "marrowgate/graphics/mg_camera.h"
#include "marrowgate/graphics/mg_graphic_list.h"
#include "marrowgate/graphics/mg_sprite.h"
#include "marrowgate/graphics/mg_texture_manager.h"
#include "support/error_capture.h"
#include "support/gl_test_context.h"
#include "test_images.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

namespace {

using namespace Marrowgate::Graphics;
using QuorvaneTest::GLTestContext;
using QuorvaneTest::Pixel;
using QuorvaneTest::RendererSetUp;

const Pixel kBlack{0, 0, 0};
const Pixel kWhite{255, 255, 255};

class GraphicsDrawingTest : public testing::TestWithParam<RendererSetUp>
{
protected:
    void SetUp() override
    {
        std::string failure;
        context = GLTestContext::Create(GetParam(), 64, 48, failure);
        if (!context) {
            GTEST_SKIP() << failure;
        }
    }
    void TearDown() override { SetActiveCamera(nullptr); }

    // A 2 x 1 texture: half-transparent red, then an opaque dark blue.
    static TextureHandle TwoPixelTexture()
    {
        const QuorvaneTest::Bytes png = QuorvaneTest::EncodePng(2, 1, {255, 0, 0, 128, 10, 20, 30, 255});
        return CreateTextureFromFileData(png.data(), static_cast<std::int32_t>(png.size()));
    }

    std::unique_ptr<GLTestContext> context;
};

class ShapeList : public GraphicList
{
};

TEST_P(GraphicsDrawingTest, ABoxCoversExactlyItsPixels)
{
    BoxShape box(6, 5, Color(), Vector2(10, 20));
    context->DrawFrame([&] { box.Render(); });
    EXPECT_TRUE(IsNear(context->At(10, 20), kWhite));
    EXPECT_TRUE(IsNear(context->At(15, 24), kWhite));
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{{9, 20}, {16, 20}, {10, 19}, {10, 25}}) {
        EXPECT_TRUE(IsNear(context->At(x, y), kBlack)) << x << ", " << y;
    }
}

TEST_P(GraphicsDrawingTest, CirclesFaceTheViewer)
{
    CircleShape circle(8, Color(ColorPalette::Yellow), Vector2(30, 10), 16);
    context->DrawFrame([&] { circle.Render(); });
    EXPECT_TRUE(IsNear(context->At(38, 18), Pixel{255, 255, 0}));
    EXPECT_TRUE(IsNear(context->At(31, 11), kBlack));
}

TEST_P(GraphicsDrawingTest, ListsDrawDeeperChildrenOnTopAndTintEveryChild)
{
    ShapeList list;
    auto* front = new BoxShape(10, 10, Color(ColorPalette::Red), Vector2(0, 0));
    front->SetDepth(0.5f);
    auto* back = new BoxShape(10, 10, Color(ColorPalette::Blue), Vector2(5, 0));
    back->SetDepth(-0.5f);
    list.AddManagedGraphic(front);
    list.AddManagedGraphic(back);
    context->DrawFrame([&] { list.Render(); });
    EXPECT_TRUE(IsNear(context->At(7, 5), Pixel{255, 0, 0}));
    EXPECT_TRUE(IsNear(context->At(12, 5), Pixel{0, 0, 255}));

    list.SetColor(Color(ColorPalette::Green));
    context->DrawFrame([&] { list.Render(); });
    EXPECT_TRUE(IsNear(context->At(2, 5), Pixel{0, 255, 0}));
    EXPECT_TRUE(IsNear(context->At(12, 5), Pixel{0, 255, 0}));
}

TEST_P(GraphicsDrawingTest, TheActiveCameraMovesScrollingGraphics)
{
    Camera camera;
    camera.SetPosition(Vector2(-20, 0));
    SetActiveCamera(&camera);
    BoxShape scrolling(4, 4, Color(), Vector2(0, 0));
    BoxShape pinned(4, 4, Color(), Vector2(0, 10));
    pinned.SetScrollFactor(Vector2(0, 0));
    context->DrawFrame([&] {
        scrolling.Render();
        pinned.Render();
    });
    EXPECT_TRUE(IsNear(context->At(21, 1), kWhite));
    EXPECT_TRUE(IsNear(context->At(1, 1), kBlack));
    EXPECT_TRUE(IsNear(context->At(1, 11), kWhite));
}

TEST_P(GraphicsDrawingTest, SpritesShowTheirImagePremultipliedAndMirrored)
{
    const TextureHandle texture = TwoPixelTexture();
    Sprite sprite(texture);
    // Stretched to 64 x 32, the middle of each half samples one texel alone.
    sprite.SetScale(Vector2(32, 32));
    context->DrawFrame([&] { sprite.Render(); });
    EXPECT_TRUE(IsNear(context->At(8, 16), Pixel{128, 0, 0}, 4));
    EXPECT_TRUE(IsNear(context->At(56, 16), Pixel{10, 20, 30}, 4));

    sprite.SetFlipped(true, false);
    context->DrawFrame([&] { sprite.Render(); });
    EXPECT_TRUE(IsNear(context->At(8, 16), Pixel{10, 20, 30}, 4));
    EXPECT_TRUE(IsNear(context->At(56, 16), Pixel{128, 0, 0}, 4));
}

TEST_P(GraphicsDrawingTest, TexturesKeepTheirHandlesAndGetNewObjectsAfterTheContextIsRebuilt)
{
    const QuorvaneTest::ScratchFolder folder;
    const std::string path = folder.Write("white.png", QuorvaneTest::EncodePng(1, 1, {255, 255, 255, 255}));
    const TextureHandle fromFile = CreateTextureFromFile(path);
    const TextureHandle fromMemory = TwoPixelTexture();
    const std::uint32_t fileName = GetTextureGLName(fromFile);
    ASSERT_NE(fileName, 0u);
    ASSERT_NE(GetTextureGLName(fromMemory), 0u);

    ReleaseGraphicsResources();
    EXPECT_EQ(GetTextureGLName(fromFile), 0u);
    // A name freed here is handed out again by the next creation, so hold it with another texture.
    GLuint placeholder = 0;
    glGenTextures(1, &placeholder);
    CreateGraphicsResources();
    EXPECT_EQ(CreateTextureFromFile(path), fromFile);
    EXPECT_NE(GetTextureGLName(fromFile), 0u);
    EXPECT_NE(GetTextureGLName(fromMemory), 0u);
    EXPECT_NE(GetTextureGLName(fromFile), fileName);
    glDeleteTextures(1, &placeholder);

    Sprite sprite(fromMemory);
    sprite.SetScale(Vector2(32, 32));
    context->DrawFrame([&] { sprite.Render(); });
    EXPECT_TRUE(IsNear(context->At(56, 16), Pixel{10, 20, 30}, 4));
}

TEST_P(GraphicsDrawingTest, BindingNoTextureUnbinds)
{
    BindTexture(GetBlankTexture());
    BindTexture(InvalidTexture);
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);
}

INSTANTIATE_TEST_SUITE_P(EverySetUp, GraphicsDrawingTest,
                         testing::Values(RendererSetUp::Desktop, RendererSetUp::Embedded,
                                         RendererSetUp::FixedFunction),
                         [](const testing::TestParamInfo<RendererSetUp>& info) {
                             return QuorvaneTest::SetUpName(info.param);
                         });

} // namespace
