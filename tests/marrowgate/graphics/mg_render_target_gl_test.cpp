// Render targets in every set-up: a scene drawn into a target and then shown as a sprite, or
// copied where the context can copy, looks as it does drawn directly; the previous target, viewport and
// matrices come back however the drawing ends; refusals, among them a legacy driver without framebuffer
// objects, are reported with the sizes; a context rebuild says the contents are gone.

#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/mg_basic_shapes.h"
#include "marrowgate/graphics/mg_render_target.h"
#include "marrowgate/graphics/mg_sprite.h"
#include "marrowgate/graphics/mg_view.h"
#include "support/error_capture.h"
#include "support/gl_test_context.h"
#include "test_images.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

using namespace Marrowgate::Graphics;
using QuorvaneTest::GLTestContext;
using QuorvaneTest::Pixel;
using QuorvaneTest::RendererSetUp;

class RenderTargetTest : public testing::TestWithParam<RendererSetUp>
{
protected:
    void SetUp() override
    {
        std::string failure;
        context = GLTestContext::Create(GetParam(), 128, 96, failure);
        if (!context) {
            GTEST_SKIP() << failure;
        }
    }

    std::vector<Pixel> Picture(const std::function<void()>& draw)
    {
        context->DrawFrame(draw);
        std::vector<Pixel> pixels;
        for (int y = 0; y < context->Height(); ++y) {
            for (int x = 0; x < context->Width(); ++x) {
                pixels.push_back(context->At(x, y));
            }
        }
        return pixels;
    }

    QuorvaneTest::ErrorCapture errors;
    std::unique_ptr<GLTestContext> context;
};

// Shapes, a translucent box over them, a turned box and a textured sprite with translucent texels.
void DrawScene(TextureHandle texture)
{
    BoxShape background(90, 60, Color(ColorPalette::DarkGrey), Vector2(3, 3));
    CircleShape circle(14, Color(ColorPalette::Orange), Vector2(8, 8), 24);
    BoxShape glass(30, 20, Color(0.5f, 0.2f, 0.6f, 1.0f), Vector2(20, 15));
    BoxShape turned(12, 6, Color(ColorPalette::SkyBlue), Vector2(70, 40));
    turned.SetOrientation(30.0f);
    Sprite sprite(texture);
    sprite.SetPosition(Vector2(100, 10));
    sprite.SetScale(Vector2(8, 16));
    background.Render();
    circle.Render();
    glass.Render();
    turned.Render();
    sprite.Render();
}

TEST_P(RenderTargetTest, ASceneDrawnIntoATargetAndShownAsASpriteOrCopiedLooksAsItDoesDirectly)
{
    const QuorvaneTest::Bytes png = QuorvaneTest::EncodePng(2, 2,
                                                            {255, 0, 0, 255, 0, 255, 0, 128, //
                                                             0, 0, 255, 255, 255, 255, 255, 64});
    const TextureHandle texture =
        CreateTextureFromFileData(png.data(), static_cast<std::int32_t>(png.size()));
    const std::vector<Pixel> direct = Picture([&] { DrawScene(texture); });
    const auto differences = [&](const std::vector<Pixel>& picture) {
        int different = 0;
        for (std::size_t index = 0; index < direct.size(); ++index) {
            different += QuorvaneTest::IsNear(direct[index], picture[index], 1) ? 0 : 1;
        }
        return different;
    };
    for (const bool withDepth : {false, true}) {
        RenderTarget target(128, 96, withDepth);
        const std::vector<Pixel> throughTarget = Picture([&] {
            ASSERT_TRUE(target.Draw([&] { DrawScene(texture); }));
            Sprite(target.GetTexture()).Render();
        });
        EXPECT_EQ(differences(throughTarget), 0) << (withDepth ? "with depth" : "without depth");
        // The window is cleared black, so the copy's replaced pixels match the sprite's blended ones.
        bool copied = false;
        const std::vector<Pixel> throughCopy = Picture([&] {
            ASSERT_TRUE(target.Draw([&] { DrawScene(texture); }));
            copied = target.CopyPixelForPixel(0, 0);
        });
        EXPECT_EQ(copied, GetParam() != RendererSetUp::Embedded);
        if (copied) {
            EXPECT_EQ(differences(throughCopy), 0) << (withDepth ? "copied, with depth" : "copied");
        }
    }
    EXPECT_FALSE(errors.Fired()) << errors.Last();
    ASSERT_TRUE(QuorvaneTest::IsNear(direct[22 * 128 + 12], Pixel{255, 159, 46}))
        << "the scene was not drawn";
}

TEST_P(RenderTargetTest, ThePreviousTargetViewportAndMatricesComeBackEvenWhenTheDrawingThrows)
{
    RenderTarget outer(64, 32);
    RenderTarget inner(16, 16);
    context->BeginFrame();
    Translate(5.0f, 7.0f, 0.0f);
    const Matrix4 projection = GetProjectionMatrix();
    const Matrix4 modelView = GetModelViewMatrix();
    EXPECT_THROW(outer.Draw([&] {
        EXPECT_NE(GetProjectionMatrix(), projection);
        inner.Draw([] { throw std::runtime_error("the caller's drawing failed"); });
    }),
                 std::runtime_error);
    EXPECT_EQ(GetProjectionMatrix(), projection);
    EXPECT_EQ(GetModelViewMatrix(), modelView);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 128);
    EXPECT_EQ(viewport[3], 96);
    GLint framebuffer = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
    EXPECT_EQ(framebuffer, 0);
    // The screen takes drawing again, right way up and not culled.
    BoxShape box(10, 10, Color(ColorPalette::Red), Vector2(0, 0));
    box.Render();
    EndDraw();
    EXPECT_EQ(context->ReadPixel(6, 8)[0], 255);
}

TEST_P(RenderTargetTest, TargetsTheDriverCannotMakeAreReportedWithTheirSizesAndDrawNothing)
{
    RenderTarget huge(65535, 16);
    RenderTarget empty(0, 16);
    context->BeginFrame();
    bool ran = false;
    EXPECT_FALSE(huge.Draw([&] { ran = true; }));
    EXPECT_FALSE(huge.Draw([&] { ran = true; }));
    EXPECT_FALSE(empty.Draw([&] { ran = true; }));
    EndDraw();
    EXPECT_FALSE(ran);
    ASSERT_EQ(errors.messages.size(), 2u) << "one report per target";
    EXPECT_NE(errors.messages[0].find("A render target needs a width and a height above 0, not 0 x 16."),
              std::string::npos)
        << errors.messages[0];
    EXPECT_NE(
        errors.messages[1].find("A render target of 65535 x 16 pixels is larger than this OpenGL driver "
                                "allows"),
        std::string::npos)
        << errors.messages[1];
}

TEST_P(RenderTargetTest, AContextRebuildLosesTheContentsAndSaysSoOnce)
{
    RenderTarget target(8, 8);
    const auto drawRed = [&] {
        context->DrawFrame([&] {
            target.Draw([] { BoxShape(8, 8, Color(ColorPalette::Red), Vector2(0, 0)).Render(); });
            Sprite(target.GetTexture()).Render();
        });
    };
    drawRed();
    EXPECT_FALSE(target.HaveContentsBeenLost());
    // What the window layer does when it makes the context again.
    ReleaseGraphicsResources();
    CleanupRenderer();
    InitializeRenderer();
    CreateGraphicsResources();
    drawRed();
    EXPECT_TRUE(target.HaveContentsBeenLost());
    EXPECT_FALSE(target.HaveContentsBeenLost());
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(4, 4), Pixel{255, 0, 0}));
}

INSTANTIATE_TEST_SUITE_P(EverySetUp, RenderTargetTest,
                         testing::Values(RendererSetUp::Desktop, RendererSetUp::Embedded,
                                         RendererSetUp::FixedFunction),
                         [](const testing::TestParamInfo<RendererSetUp>& info) {
                             return QuorvaneTest::SetUpName(info.param);
                         });

// A legacy driver without framebuffer objects, as GLEW shows one: their entry points are null.
// (Mesa cannot be told to leave them out: it offers EXT_framebuffer_object in every context.)
class FramebufferEntryPointsHidden
{
public:
    FramebufferEntryPointsHidden()
        : mGenerate(glGenFramebuffers), mAttachRenderbuffer(glFramebufferRenderbuffer),
          mGenerateExt(glGenFramebuffersEXT), mAttachRenderbufferExt(glFramebufferRenderbufferEXT)
    {
        glGenFramebuffers = nullptr;
        glFramebufferRenderbuffer = nullptr;
        glGenFramebuffersEXT = nullptr;
        glFramebufferRenderbufferEXT = nullptr;
    }
    ~FramebufferEntryPointsHidden()
    {
        glGenFramebuffers = mGenerate;
        glFramebufferRenderbuffer = mAttachRenderbuffer;
        glGenFramebuffersEXT = mGenerateExt;
        glFramebufferRenderbufferEXT = mAttachRenderbufferExt;
    }
    FramebufferEntryPointsHidden(const FramebufferEntryPointsHidden&) = delete;
    FramebufferEntryPointsHidden& operator=(const FramebufferEntryPointsHidden&) = delete;

private:
    PFNGLGENFRAMEBUFFERSPROC mGenerate;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC mAttachRenderbuffer;
    PFNGLGENFRAMEBUFFERSPROC mGenerateExt;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC mAttachRenderbufferExt;
};

TEST(RenderTargetWithoutFramebufferObjects, IsReportedOnceAndALogicalViewStillShowsTheGameUnscaled)
{
    QuorvaneTest::ErrorCapture errors;
    std::string failure;
    const std::unique_ptr<GLTestContext> context =
        GLTestContext::Create(RendererSetUp::FixedFunction, 64, 48, failure);
    if (!context) {
        GTEST_SKIP() << failure;
    }
    const FramebufferEntryPointsHidden hidden;
    RenderTarget target(16, 8);
    int runs = 0;
    context->DrawFrame([&] {
        EXPECT_FALSE(target.Draw([&] { ++runs; }));
        EXPECT_FALSE(target.Draw([&] { ++runs; }));
        Sprite(target.GetTexture()).Render();
    });
    EXPECT_EQ(runs, 0);
    ASSERT_EQ(errors.messages.size(), 1u) << errors.Last();
    EXPECT_NE(errors.Last().find("A render target of 16 x 8 pixels needs framebuffer objects"),
              std::string::npos)
        << errors.Last();

    SetLogicalView(32, 24, ViewScaling::IntegerScale);
    context->DrawFrame([] {
        RenderThroughView([] { BoxShape(10, 10, Color(ColorPalette::Red), Vector2(0, 0)).Render(); });
    });
    ResetView();
    EXPECT_EQ(errors.messages.size(), 2u) << "one report for the view's own target";
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(5, 5), Pixel{255, 0, 0}));
    EXPECT_TRUE(QuorvaneTest::IsNear(context->At(20, 20), Pixel{0, 0, 0}));
}

} // namespace
