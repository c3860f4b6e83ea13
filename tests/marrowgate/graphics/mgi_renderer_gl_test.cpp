#include "support/gl_test_context.h"

#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/mg_texture_manager.h"
#include "support/error_capture.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

using namespace Marrowgate::Graphics;
using QuorvaneTest::GLTestContext;
using QuorvaneTest::Pixel;
using QuorvaneTest::RendererSetUp;

constexpr std::uint32_t kWhiteWord = 0xFFFFFFFFu;
// Vertex words read R, G, B, A from the lowest byte.
constexpr std::uint32_t kRedWord = 0xFF0000FFu;

class RendererTest : public testing::TestWithParam<RendererSetUp>
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

    void DrawWhiteQuad(Vector2 topLeft, Vector2 bottomRight, std::uint32_t color = kWhiteWord)
    {
        BindTexture(GetBlankTexture());
        RenderQuad(topLeft, bottomRight, color, 0.0f, 0.0f, 1.0f, 1.0f);
    }

    std::unique_ptr<GLTestContext> context;
};

TEST_P(RendererTest, StateChangedWithOpenGLDirectlyCountsFromForgetGLStateOn)
{
    const Pixel white{255, 255, 255};
    const Pixel black{0, 0, 0};
    context->DrawFrame([&] { DrawWhiteQuad(Vector2(0, 0), Vector2(4, 3)); });
    ASSERT_TRUE(IsNear(context->At(0, 0), white));

    // The lower-left quarter, and no program: the quad must land at the quarter's top-left,
    // drawn by the renderer's program bound anew.
    glViewport(0, 0, 32, 24);
    if (!IsFixedFunctionMode()) {
        glUseProgram(0);
    }
    ForgetGLState();
    EXPECT_EQ(GetViewport(), (Viewport{0, 0, 32, 24}));
    context->DrawFrame([&] { DrawWhiteQuad(Vector2(0, 0), Vector2(4, 3)); });
    EXPECT_TRUE(IsNear(context->At(0, 0), black));
    EXPECT_TRUE(IsNear(context->At(0, 24), white));
    EXPECT_TRUE(IsNear(context->At(3, 26), white));
    EXPECT_TRUE(IsNear(context->At(4, 27), black));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    SetViewport({0, 0, 64, 48});
    context->DrawFrame([&] { DrawWhiteQuad(Vector2(0, 0), Vector2(4, 3)); });
    EXPECT_TRUE(IsNear(context->At(0, 0), white));
}

// The renderer sets blending and culling once per context, not every frame: code that switches
// them off with OpenGL directly and calls ForgetGLState gets them back from the next frame.
TEST_P(RendererTest, BlendingSwitchedOffWithOpenGLDirectlyIsOnAgainAfterForgetGLState)
{
    const auto drawHalfBlackOverWhite = [&] {
        DrawWhiteQuad(Vector2(0, 0), Vector2(8, 8));
        DrawWhiteQuad(Vector2(0, 0), Vector2(8, 8), 0x80000000u);
    };
    context->DrawFrame(drawHalfBlackOverWhite);
    const Pixel grey = context->At(2, 2);
    EXPECT_TRUE(IsNear(grey, Pixel{127, 127, 127}, 2)) << "blended";

    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    ForgetGLState();
    context->DrawFrame(drawHalfBlackOverWhite);
    EXPECT_TRUE(IsNear(context->At(2, 2), grey, 2));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Every context here has vertex array objects; an ES 2.0 driver may not, and the renderer then
// points the context's own attributes at each draw. Both must draw the same picture, with the
// streamed vertices of several draws (gathered and not) one after the other in the stream.
TEST_P(RendererTest, DrawsTheSameWithoutVertexArrayObjects)
{
    if (GetParam() != RendererSetUp::Embedded) {
        GTEST_SKIP() << "only an ES 2.0 context may lack vertex array objects";
    }
    const std::array<Vertex2D, 3> strip = {
        {{2.0f, 40.5f, kRedWord, 0, 0}, {30.0f, 40.5f, kRedWord, 0, 0}, {30.0f, 46.5f, kRedWord, 0, 0}}};
    const auto draw = [&] {
        for (int twice = 0; twice < 2; ++twice) {
            for (int step = 0; step < 12; ++step) {
                const float corner = static_cast<float>(step * 3 + twice);
                DrawWhiteQuad({corner, corner}, {corner + 2.0f, corner + 5.0f},
                              step % 2 ? kRedWord : kWhiteWord);
            }
            RenderVertices2D(PrimitiveType::LineStrip, strip.data(),
                             static_cast<std::uint32_t>(strip.size()));
            Flush();
            Translate(30.0f, 0.0f, 0.0f);
        }
    };
    context->DrawFrame(draw);
    std::vector<Pixel> withArrays;
    for (int y = 0; y < context->Height(); ++y) {
        for (int x = 0; x < context->Width(); ++x) {
            withArrays.push_back(context->At(x, y));
        }
    }

    ReleaseGraphicsResources();
    CleanupRenderer();
    const PFNGLGENVERTEXARRAYSPROC genVertexArrays = glGenVertexArrays;
    glGenVertexArrays = nullptr;
    InitializeRenderer();
    CreateGraphicsResources();
    context->DrawFrame(draw);
    glGenVertexArrays = genVertexArrays;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    int differences = 0;
    for (int y = 0; y < context->Height(); ++y) {
        for (int x = 0; x < context->Width(); ++x) {
            const Pixel& before = withArrays[static_cast<std::size_t>(y * context->Width() + x)];
            differences += IsNear(context->At(x, y), before, 0) ? 0 : 1;
        }
    }
    EXPECT_EQ(differences, 0);
    EXPECT_TRUE(IsNear(context->At(1, 1), Pixel{255, 255, 255})) << "something was drawn";
}

TEST_P(RendererTest, SetsTheFlagsOfItsSetUp)
{
    EXPECT_TRUE(IsRendererReady());
    EXPECT_EQ(IsEmbeddedProfile(), GetParam() == RendererSetUp::Embedded);
    EXPECT_EQ(IsFixedFunctionMode(), GetParam() == RendererSetUp::FixedFunction);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    const std::string version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    RecordProperty("gl_version", version);
    EXPECT_EQ(version.starts_with("OpenGL ES"), GetParam() == RendererSetUp::Embedded) << version;
}

TEST_P(RendererTest, PutsTheOriginAtTheTopLeftAndLandsQuadsOnWholePixels)
{
    context->DrawFrame([&] { DrawWhiteQuad(Vector2(0, 0), Vector2(4, 3)); });
    const Pixel white{255, 255, 255};
    const Pixel black{0, 0, 0};
    EXPECT_TRUE(IsNear(context->At(0, 0), white));
    EXPECT_TRUE(IsNear(context->At(3, 2), white));
    EXPECT_TRUE(IsNear(context->At(4, 0), black));
    EXPECT_TRUE(IsNear(context->At(0, 3), black));
    EXPECT_TRUE(IsNear(context->At(63, 47), black));
}

TEST_P(RendererTest, BlendsTranslucentVertexColoursPremultiplied)
{
    // Half-transparent red over black.
    context->DrawFrame([&] { DrawWhiteQuad(Vector2(0, 0), Vector2(8, 8), 0x800000FFu); });
    EXPECT_TRUE(IsNear(context->At(4, 4), Pixel{128, 0, 0}, 4));
}

TEST_P(RendererTest, DrawsFaintColoursAlikeInEverySetUp)
{
    // White at alpha 20/255 (0.08), the first steps of a fade-in; alpha 1/255 is dropped.
    context->DrawFrame([&] {
        DrawWhiteQuad(Vector2(0, 0), Vector2(8, 8), 0x14FFFFFFu);
        DrawWhiteQuad(Vector2(8, 0), Vector2(16, 8), 0x01FFFFFFu);
    });
    EXPECT_TRUE(IsNear(context->At(4, 4), Pixel{20, 20, 20}, 1));
    EXPECT_TRUE(IsNear(context->At(12, 4), Pixel{0, 0, 0}, 0));
}

TEST_P(RendererTest, TurnsPositiveAnglesCounterClockwiseOnScreen)
{
    // A bar pointing right from (30, 30) must end up pointing up.
    context->DrawFrame([&] {
        Translate(30, 30, 0);
        Rotate(90, 0, 0, 1);
        DrawWhiteQuad(Vector2(0, 0), Vector2(12, 2));
    });
    EXPECT_TRUE(IsNear(context->At(30, 22), Pixel{255, 255, 255}));
    EXPECT_TRUE(IsNear(context->At(36, 30), Pixel{0, 0, 0}));
    EXPECT_TRUE(IsNear(context->At(30, 35), Pixel{0, 0, 0}));
}

TEST_P(RendererTest, RestoresTheModelViewOnPop)
{
    context->DrawFrame([&] {
        PushMatrix();
        Translate(20, 10, 0);
        Scale(2, 2, 1);
        DrawWhiteQuad(Vector2(0, 0), Vector2(4, 4), kRedWord);
        PopMatrix();
        DrawWhiteQuad(Vector2(0, 0), Vector2(2, 2));
    });
    EXPECT_TRUE(IsNear(context->At(20, 10), Pixel{255, 0, 0}));
    EXPECT_TRUE(IsNear(context->At(27, 17), Pixel{255, 0, 0}));
    EXPECT_TRUE(IsNear(context->At(28, 18), Pixel{0, 0, 0}));
    EXPECT_TRUE(IsNear(context->At(1, 1), Pixel{255, 255, 255}));
    EXPECT_TRUE(IsNear(context->At(2, 2), Pixel{0, 0, 0}));
}

TEST_P(RendererTest, DrawsLinesAnd3DVertices)
{
    const std::array<Vertex2D, 2> line = {{{0.0f, 5.5f, kRedWord, 0, 0}, {20.0f, 5.5f, kRedWord, 0, 0}}};
    const std::array<Vertex3D, 3> triangle = {{
        {40, 40, 0, 0, 0, 1, kWhiteWord, 0, 0},
        {40, 30, 0, 0, 0, 1, kWhiteWord, 0, 0},
        {50, 40, 0, 0, 0, 1, kWhiteWord, 0, 0},
    }};
    context->DrawFrame([&] {
        BindTexture(GetBlankTexture());
        RenderVertices2D(PrimitiveType::Lines, line.data(), 2);
        if (IsFixedFunctionMode()) {
            RenderVertices3D(PrimitiveType::Triangles, triangle.data(), 3);
        }
    });
    EXPECT_TRUE(IsNear(context->At(10, 5), Pixel{255, 0, 0}));
    if (IsFixedFunctionMode()) {
        EXPECT_TRUE(IsNear(context->At(41, 38), Pixel{255, 255, 255}));
    }
}

TEST_P(RendererTest, TurnsGlyphCoverageIntoWhiteWithTheVertexColour)
{
    if (IsFixedFunctionMode()) {
        GTEST_SKIP() << "the colour matrix belongs to the built-in program";
    }
    // A 2 x 1 glyph texture: full coverage, then none.
    const std::array<GLubyte, 4> coverage = {255, 0, 0, 0};
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (IsEmbeddedProfile()) {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, 2, 1, 0, GL_ALPHA, GL_UNSIGNED_BYTE, coverage.data());
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, 2, 1, 0, GL_RED, GL_UNSIGNED_BYTE, coverage.data());
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    context->DrawFrame([&] {
        SetColorMatrix(true);
        glBindTexture(GL_TEXTURE_2D, texture);
        RenderQuad(Vector2(0, 0), Vector2(16, 8), 0xFF00FF00u, 0.0f, 0.0f, 1.0f, 1.0f);
        SetColorMatrix(false);
    });
    glDeleteTextures(1, &texture);
    EXPECT_TRUE(IsNear(context->At(3, 4), Pixel{0, 255, 0}));
    EXPECT_TRUE(IsNear(context->At(12, 4), Pixel{0, 0, 0}));
}

INSTANTIATE_TEST_SUITE_P(EverySetUp, RendererTest,
                         testing::Values(RendererSetUp::Desktop, RendererSetUp::Embedded,
                                         RendererSetUp::FixedFunction),
                         [](const testing::TestParamInfo<RendererSetUp>& info) {
                             return QuorvaneTest::SetUpName(info.param);
                         });

} // namespace
