// A perspective pass in a rectangle of a 2D frame: the 3D scene shows inside the rectangle only,
// in front of 2D drawn before it, behind 2D drawn after it, and the 2D state comes back.

#include "gl_fixture.h"

#include "cinderhall/cdh_perspective_pass.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/mg_texture_manager.h"
#include "support/error_capture.h"
#include "support/gl_call_counter.h"

#include <GL/glew.h>

#include <array>

namespace {

using namespace Cinderhall;
using namespace CinderhallTest;
namespace Renderer = Marrowgate::Graphics;

// The renderer's colour words hold red in the lowest byte; the visualization takes 0xAARRGGBB.
constexpr std::uint32_t kWhiteWord = 0xFFFFFFFFu;
constexpr std::uint32_t kBlueWord = 0xFFFF0000u;
constexpr std::uint32_t kRed = 0xFFFF0000u;

void Draw2DBox(float left, float top, float right, float bottom, std::uint32_t color)
{
    Renderer::BindTexture(Renderer::GetBlankTexture());
    Renderer::RenderQuad({left, top}, {right, bottom}, color, 0.0f, 0.0f, 1.0f, 1.0f);
}

class PerspectivePassGL : public GLFixture
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
    }
    void TearDown() override
    {
        SetVisualizationShader(InvalidShader);
        theShaderManager->DestroyShader(lines_);
        GLFixture::TearDown();
    }

    ShaderHandle lines_ = InvalidShader;
};

TEST_P(PerspectivePassGL, AViewInARectangleShowsBetweenThe2DBeforeAndAfterIt)
{
    QuorvaneTest::ErrorCapture errors;
    // A white 2D background over the whole window, drawn first.
    Draw2DBox(0.0f, 0.0f, kWindowSize, kWindowSize, kWhiteWord);
    const Matrix4 projection2D = Renderer::GetProjectionMatrix();

    // A red wall filling the camera's view, drawn in the right half only.
    Visualization wall;
    for (const float winding : {1.0f, -1.0f}) {
        wall.AddTriangle({-50, -50, 0}, {50 * winding, 50 * -winding, 0}, {50, 50, 0}, kRed);
        wall.AddTriangle({-50, -50, 0}, {50, 50, 0}, {-50 * winding, 50 * winding, 0}, kRed);
    }
    PerspectivePass pass;
    pass.SetRectangle({65.0f, 0.0f, 64.0f, 129.0f});
    pass.SetProgram(lines_);
    pass.Begin(Marrowgate::Core::MatrixCreateLookAt({0, 0, 5}, {0, 0, 0}, {0, 1, 0}));
    wall.Render();
    pass.End();

    // A blue 2D box drawn afterwards, across both halves.
    Draw2DBox(40.0f, 100.0f, 90.0f, 120.0f, kBlueWord);
    Renderer::Flush();

    EXPECT_TRUE(ColorNear(*context_, 100, 40, {255, 0, 0, 255})) << "the 3D wall, in front of the background";
    EXPECT_TRUE(ColorNear(*context_, 30, 40, {255, 255, 255, 255}))
        << "outside the rectangle nothing changed";
    EXPECT_TRUE(ColorNear(*context_, 80, 110, {0, 0, 255, 255})) << "2D drawn after the pass is on top";
    EXPECT_TRUE(ColorNear(*context_, 50, 110, {0, 0, 255, 255}));

    std::array<GLint, 4> viewport{};
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    EXPECT_EQ(viewport, (std::array<GLint, 4>{0, 0, kWindowSize, kWindowSize}));
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    EXPECT_EQ(Renderer::GetProjectionMatrix(), projection2D);
    EXPECT_EQ(context_->CurrentProgram(), twoDimensionalProgram_);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_FALSE(errors.Fired()) << (errors.Fired() ? errors.Last() : "");
}

// A frame as a game draws it: 2D behind, a pass with a lit mesh drawn twice, the axes and a
// ground of lines, 2D in front. Drawn twice; the second time nothing is new to OpenGL.
void DrawTypicalFrame(GLTestContext& context, ShaderHandle lit, ShaderHandle lines, Mesh& cube,
                      Visualization& ground)
{
    context.BeginFrame();
    Draw2DBox(0.0f, 0.0f, 129.0f, 20.0f, kWhiteWord);
    PerspectivePass pass;
    pass.SetProgram(lines);
    pass.Begin(Marrowgate::Core::MatrixCreateLookAt({0, 4, 8}, {0, 0, 0}, {0, 1, 0}));
    theShaderManager->BindShader(lit);
    pass.GetLighting().ApplyLighting();
    cube.Render(Marrowgate::Core::MatrixCreateTranslation(-2.0f, 0.0f, 0.0f));
    cube.Render(Marrowgate::Core::MatrixCreateTranslation(2.0f, 0.0f, 0.0f));
    theShaderManager->PushShader(lines);
    RenderAxes(3.0f, true);
    ground.Render();
    theShaderManager->PopShader();
    pass.End();
    Draw2DBox(0.0f, 100.0f, 129.0f, 129.0f, kBlueWord);
    Renderer::EndDraw();
}

TEST_P(PerspectivePassGL, ATypicalFrameMakesOnlyTheCallsItsDrawsNeed)
{
    if (GetParam() == RendererSetUp::FixedFunction) {
        GTEST_SKIP() << "the fixed-function set-up has no programs or buffers to count";
    }
    QuorvaneTest::ErrorCapture errors;
    const ShaderHandle lit = CreateShader("lit.vert", "lit.frag");
    const std::unique_ptr<Mesh> cube = MakeTestCube();
    Visualization ground;
    for (int line = -5; line <= 5; ++line) {
        ground.AddPersistentLine({-5.0f, 0.0f, line * 1.0f}, {5.0f, 0.0f, line * 1.0f}, kRed);
    }
    // The ground streams in the draw after it was made and has its own buffer from the next on.
    for (int frame = 0; frame < 2; ++frame) {
        DrawTypicalFrame(*context_, lit, lines_, *cube, ground);
    }
    const QuorvaneTest::GLCallCounter counter;
    DrawTypicalFrame(*context_, lit, lines_, *cube, ground);
    const std::string calls = counter.Describe();

    // Programs: the pass's, the lit one, the lines, the lit one again (the pop) and the 2D one.
    EXPECT_EQ(counter.Calls("useProgram"), 5) << calls;
    EXPECT_EQ(counter.Calls("getUniformLocation"), 0) << calls;
    EXPECT_EQ(counter.Calls("uniform4fv"), 0) << "the lighting is the same as last frame; " << calls;
    // The 2D program and the pass's keep their matrices from the last frame, as the view is the
    // same. Each mesh, and each move back to the view after it, sends the lit program's two (the
    // model-view and its product with the projection).
    EXPECT_EQ(counter.Calls("uniformMatrix4fv"), 2 * 4) << calls;
    EXPECT_EQ(counter.Calls("bufferData"), 0) << "the ground's lines stay uploaded; " << calls;
    EXPECT_EQ(counter.Calls("activeTexture"), 0) << "set with the context, not every frame; " << calls;
    // The two boxes and the axes stream the same vertices as last frame, still in the stream.
    EXPECT_EQ(counter.Calls("bufferSubData"), 0) << calls;
    if (Renderer::HasEntryPoint(glGenVertexArrays)) {
        // The vertex arrays keep their attributes enabled, those of streamed vertices keep
        // pointing into the stream, and the ground's has pointed at its buffer since it was made.
        EXPECT_EQ(counter.Calls("enableVertexAttribArray"), 0) << calls;
        EXPECT_EQ(counter.Calls("disableVertexAttribArray"), 0) << calls;
        EXPECT_EQ(counter.Calls("vertexAttribPointer"), 0) << calls;
        // The renderer's around each of its four draws, and one per mesh.
        EXPECT_EQ(counter.Calls("bindVertexArray"), 2 * 4 + 2) << calls;
        // The vertex stream for the boxes and the axes, bound to draw from; nothing is unbound
        // afterwards.
        EXPECT_EQ(counter.Calls("bindBuffer"), 2 + 1) << calls;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_FALSE(errors.Fired()) << (errors.Fired() ? errors.Last() : "");
    EXPECT_TRUE(ColorNear(*context_, 64, 110, {0, 0, 255, 255})) << "the 2D in front";
    EXPECT_TRUE(ColorNear(*context_, 64, 10, {255, 255, 255, 255})) << "the 2D behind, outside the scene";
    theShaderManager->BindShader(InvalidShader);
    theShaderManager->DestroyShader(lit);
}

INSTANTIATE_TEST_SUITE_P(SetUps, PerspectivePassGL,
                         testing::Values(RendererSetUp::Desktop, RendererSetUp::Embedded,
                                         RendererSetUp::FixedFunction),
                         [](const testing::TestParamInfo<RendererSetUp>& info) {
                             return SetUpName(info.param);
                         });

} // namespace
