// Debug lines, triangles and axes on screen, in the shader set-ups (with the visualization
// shader) and in the fixed-function set-up (without one).

#include "gl_fixture.h"

#include "cinderhall/cdh_visualization.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "support/error_capture.h"

#include <GL/glew.h>

namespace {

using namespace Cinderhall;
using namespace CinderhallTest;
namespace Renderer = Marrowgate::Graphics;
using Marrowgate::Core::Matrix4;

constexpr int kCenter = kWindowSize / 2;
// Pixels from the centre to the middle of a line 0.8 long in clip space.
constexpr int kHalfLine = static_cast<int>(0.4f * kWindowSize / 2);

class VisualizationGL : public GLFixture
{
protected:
    void SetUp() override
    {
        GLFixture::SetUp();
        if (IsSkipped()) {
            return;
        }
        lines_ = CreateShader("lines.vert", "lines.frag");
        SetVisualizationShader(lines_);
        // Clip space straight from model space; depth testing would only get in the way here.
        Renderer::SetProjectionMatrix(Matrix4());
        Renderer::SetModelViewMatrix(Matrix4());
        glDisable(GL_DEPTH_TEST);
    }
    void TearDown() override
    {
        SetVisualizationShader(InvalidShader);
        theShaderManager->DestroyShader(lines_);
        GLFixture::TearDown();
    }

    bool Near(int x, int y, std::uint32_t argb) const
    {
        return ColorNear(*context_, x, y,
                         {static_cast<std::uint8_t>(argb >> 16), static_cast<std::uint8_t>(argb >> 8),
                          static_cast<std::uint8_t>(argb), 255});
    }
    bool Black(int x, int y) const { return Near(x, y, 0xFF000000u) && context_->ReadPixel(x, y)[0] == 0; }

    ShaderHandle lines_ = InvalidShader;
};

TEST_P(VisualizationGL, AxesDrawSixLinesInTheirColours)
{
    QuorvaneTest::ErrorCapture errors;
    RenderAxes(0.8f, false);
    EXPECT_TRUE(Near(kCenter + kHalfLine, kCenter, 0xFFFF0000u)) << "+x red";
    EXPECT_TRUE(Near(kCenter, kCenter - kHalfLine, 0xFF00FF00u)) << "+y green, up on screen";
    EXPECT_TRUE(Black(kCenter - kHalfLine, kCenter)) << "no negative axes asked for";

    context_->BeginFrame();
    Renderer::SetProjectionMatrix(Matrix4());
    glDisable(GL_DEPTH_TEST);
    RenderAxes(0.8f, true);
    EXPECT_TRUE(Near(kCenter - kHalfLine, kCenter, 0xFF880000u)) << "-x dark red";
    EXPECT_TRUE(Near(kCenter, kCenter + kHalfLine, 0xFF008800u)) << "-y dark green";

    // Turned a quarter about y, the z axis lies along screen x.
    context_->BeginFrame();
    Renderer::SetProjectionMatrix(Matrix4());
    glDisable(GL_DEPTH_TEST);
    Renderer::SetModelViewMatrix(Marrowgate::Core::CreateRotationY(Marrowgate::Core::PiOverTwo));
    RenderAxes(0.8f, true);
    const bool blueRight = Near(kCenter + kHalfLine, kCenter, 0xFF0000FFu);
    const bool blueLeft = Near(kCenter - kHalfLine, kCenter, 0xFF0000FFu);
    EXPECT_NE(blueRight, blueLeft) << "+z blue on exactly one side";
    EXPECT_TRUE(Near(blueRight ? kCenter - kHalfLine : kCenter + kHalfLine, kCenter, 0xFF000088u))
        << "-z dark blue";

    EXPECT_EQ(context_->CurrentProgram(), twoDimensionalProgram_) << "the axes pop their shader";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_FALSE(errors.Fired()) << (errors.Fired() ? errors.Last() : "");
}

TEST_P(VisualizationGL, ClearKeepsPersistentListsUnlessAskedForAll)
{
    Visualization debug;
    debug.AddLine({-0.8f, 0.5f, 0.0f}, {0.8f, 0.5f, 0.0f}, 0xFFFF0000u);
    debug.AddPersistentTriangle({-0.5f, -0.8f, 0.0f}, {0.0f, -0.2f, 0.0f}, {0.5f, -0.8f, 0.0f}, 0xFF00FF00u);
    debug.AddPersistentLine({-0.8f, 0.8f, 0.0f}, {0.8f, 0.8f, 0.0f}, 0xFF0000FFu);
    const int lineY = static_cast<int>(0.25f * kWindowSize);
    const int topLineY = static_cast<int>(0.1f * kWindowSize);
    const int triangleY = static_cast<int>(0.8f * kWindowSize);

    const auto redraw = [&] {
        context_->BeginFrame();
        Renderer::SetProjectionMatrix(Matrix4());
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        debug.Render();
    };
    redraw();
    EXPECT_TRUE(Near(kCenter, lineY, 0xFFFF0000u));
    EXPECT_TRUE(Near(kCenter, topLineY, 0xFF0000FFu));
    EXPECT_TRUE(Near(kCenter, triangleY, 0xFF00FF00u));

    redraw();
    EXPECT_TRUE(Near(kCenter, lineY, 0xFFFF0000u)) << "drawing does not empty the lists";

    debug.Clear(false);
    redraw();
    EXPECT_TRUE(Black(kCenter, lineY));
    EXPECT_TRUE(Near(kCenter, topLineY, 0xFF0000FFu));
    EXPECT_TRUE(Near(kCenter, triangleY, 0xFF00FF00u));

    debug.Clear(true);
    redraw();
    EXPECT_TRUE(Black(kCenter, topLineY));
    EXPECT_TRUE(Black(kCenter, triangleY));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_P(VisualizationGL, ALineAddedAfterDrawingShowsInTheNextFrame)
{
    // The persistent list is kept on the GPU between frames; a change must reach it.
    Visualization debug;
    debug.AddPersistentLine({-0.8f, 0.8f, 0.0f}, {0.8f, 0.8f, 0.0f}, 0xFF0000FFu);
    const int lineY = static_cast<int>(0.25f * kWindowSize);
    const int topLineY = static_cast<int>(0.1f * kWindowSize);
    const auto redraw = [&] {
        context_->BeginFrame();
        Renderer::SetProjectionMatrix(Matrix4());
        glDisable(GL_DEPTH_TEST);
        debug.Render();
    };
    redraw();
    redraw();
    EXPECT_TRUE(Near(kCenter, topLineY, 0xFF0000FFu));
    EXPECT_TRUE(Black(kCenter, lineY));

    debug.AddPersistentLine({-0.8f, 0.5f, 0.0f}, {0.8f, 0.5f, 0.0f}, 0xFFFF0000u);
    // Streamed while it changes, then from its own buffer uploaded again.
    for (int frame = 0; frame < 2; ++frame) {
        redraw();
        EXPECT_TRUE(Near(kCenter, topLineY, 0xFF0000FFu)) << "frame " << frame;
        EXPECT_TRUE(Near(kCenter, lineY, 0xFFFF0000u)) << "frame " << frame;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

INSTANTIATE_TEST_SUITE_P(AllSetUps, VisualizationGL,
                         testing::Values(RendererSetUp::Desktop, RendererSetUp::Embedded,
                                         RendererSetUp::FixedFunction),
                         [](const testing::TestParamInfo<RendererSetUp>& info) {
                             return SetUpName(info.param);
                         });

} // namespace
