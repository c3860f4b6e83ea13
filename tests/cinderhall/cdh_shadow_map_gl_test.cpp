// The sun's shadows through a perspective pass: a cube over a plane darkens the plane where the
// light says, in the desktop and ES 3 set-ups; a map the driver cannot make is reported once and
// the scene draws lit; the fixed-function set-up says once that it has no shadows.

#include "gl_fixture.h"

#include "cinderhall/cdh_perspective_pass.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "support/error_capture.h"

#include <GL/glew.h>

namespace {

using namespace Cinderhall;
using namespace CinderhallTest;
namespace Renderer = Marrowgate::Graphics;
using Marrowgate::Core::Matrix4;
using Marrowgate::Core::Vector4;
using Marrowgate::Graphics::Color;

class ShadowMapGL : public GLFixture
{
protected:
    // A white 20 x 20 plane whose top is at y = 0 and a cube of side 2 standing 1 above it
    // (its middle at y = 2), seen from (0, 4, 10). Ambient light 0.2, a white sun.
    void SetUp() override
    {
        GLFixture::SetUp();
        if (IsSkipped()) {
            return;
        }
        plane_.SetMesh(MakeTestCube());
        plane_.SetTransform(Marrowgate::Core::MatrixCreateScale(10.0f, 0.1f, 10.0f) *
                            Marrowgate::Core::MatrixCreateTranslation(0.0f, -0.1f, 0.0f));
        cube_.SetMesh(MakeTestCube());
        cube_.SetTransform(Marrowgate::Core::MatrixCreateTranslation(0.0f, 2.0f, 0.0f));
        SceneLighting& lighting = pass_.GetLighting();
        lighting.sunColor = Color(1.0f, 1.0f, 1.0f, 1.0f);
        lighting.ambientColor = Color(1.0f, 0.2f, 0.2f, 0.2f);
        pass_.SetShadowCasters({&scene_});
        ShadowSettings& shadows = pass_.GetShadowSettings();
        shadows.enabled = true;
        shadows.radius = 12.0f;
        shadows.mapSize = 512;
    }

    void DrawFrame()
    {
        context_->BeginFrame();
        cdhCamera camera({0.0f, 4.0f, 10.0f}, {0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f});
        pass_.Begin(camera.ComputeView());
        scene_.Render(pass_.GetView());
        pass_.End();
        Renderer::Flush();
    }

    // The grey level of the plane at (x, 0, z) on screen.
    int PlaneAt(float x, float z) const
    {
        const Vector4 clip = (pass_.GetView() * pass_.GetProjection()) * Vector4(x, 0.0f, z, 1.0f);
        const int column = static_cast<int>(std::lround((clip.x / clip.w + 1.0f) * 0.5f * kWindowSize));
        const int row = static_cast<int>(std::lround((1.0f - clip.y / clip.w) * 0.5f * kWindowSize));
        return context_->ReadPixel(column, row)[1];
    }

    RenderList scene_;
    MeshObject plane_{scene_};
    MeshObject cube_{scene_};
    PerspectivePass pass_;
};

TEST_P(ShadowMapGL, ACubeOverAPlaneShadowsTheSpotTheSunCannotReach)
{
    if (GetParam() == RendererSetUp::FixedFunction) {
        GTEST_SKIP() << "no shadow maps";
    }
    QuorvaneTest::ErrorCapture errors;
    pass_.GetLighting().sunDirection = {0.0f, 1.0f, 0.0f};
    DrawFrame();
    // Straight under the cube only the ambient light is left; beside it the sun adds its whole.
    EXPECT_NEAR(PlaneAt(0.0f, 0.0f), 51, 3) << SetUpName(GetParam());
    EXPECT_NEAR(PlaneAt(0.5f, -0.5f), 51, 3);
    EXPECT_EQ(PlaneAt(3.0f, 2.0f), 255);
    EXPECT_EQ(PlaneAt(-2.0f, 0.0f), 255);

    // With the sun low in the +x direction, the shadow falls towards -x, at y = 2 from the cube.
    pass_.GetLighting().sunDirection = {1.0f, 1.0f, 0.0f};
    DrawFrame();
    EXPECT_NEAR(PlaneAt(-2.0f, 0.0f), 51, 3);
    EXPECT_NEAR(PlaneAt(-3.5f, 0.5f), 51, 3);
    const int sunlit = static_cast<int>(std::lround(255.0f * (0.2f + 0.70710678f)));
    EXPECT_NEAR(PlaneAt(1.5f, 0.0f), sunlit, 3);

    pass_.GetShadowSettings().enabled = false;
    DrawFrame();
    EXPECT_NEAR(PlaneAt(-2.0f, 0.0f), sunlit, 3) << "without shadows the plane is lit everywhere";
    EXPECT_EQ(context_->CurrentProgram(), twoDimensionalProgram_);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_FALSE(errors.Fired()) << (errors.Fired() ? errors.Last() : "");
}

TEST_P(ShadowMapGL, AMapTheDriverCannotMakeIsReportedOnceAndTheSceneDrawsLit)
{
    if (GetParam() == RendererSetUp::FixedFunction) {
        GTEST_SKIP() << "no shadow maps";
    }
    QuorvaneTest::ErrorCapture errors;
    pass_.GetLighting().sunDirection = {0.0f, 1.0f, 0.0f};
    pass_.GetShadowSettings().mapSize = 1 << 20;
    DrawFrame();
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_NE(errors.Last().find("shadow map of 1048576 x 1048576 texels"), std::string::npos)
        << errors.Last();
    EXPECT_EQ(PlaneAt(0.0f, 0.0f), 255);
    DrawFrame();
    EXPECT_EQ(errors.messages.size(), 1u) << "reported once";

    // A size the driver takes draws shadows again.
    pass_.GetShadowSettings().mapSize = 256;
    DrawFrame();
    EXPECT_NEAR(PlaneAt(0.0f, 0.0f), 51, 3);
    EXPECT_EQ(errors.messages.size(), 1u);
}

TEST_P(ShadowMapGL, ShadowsComeBackAfterTheContextIsRebuilt)
{
    if (GetParam() == RendererSetUp::FixedFunction) {
        GTEST_SKIP() << "no shadow maps";
    }
    pass_.GetLighting().sunDirection = {0.0f, 1.0f, 0.0f};
    DrawFrame();
    context_.reset();
    std::string failure;
    context_ = GLTestContext::Create(GetParam(), kWindowSize, kWindowSize, failure);
    ASSERT_TRUE(context_) << failure;
    QuorvaneTest::ErrorCapture errors;
    DrawFrame();
    EXPECT_NEAR(PlaneAt(0.0f, 0.0f), 51, 3);
    EXPECT_EQ(PlaneAt(3.0f, 2.0f), 255);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_FALSE(errors.Fired()) << (errors.Fired() ? errors.Last() : "");
}

TEST_P(ShadowMapGL, TheFixedFunctionSetUpSaysOnceThatItDrawsWithoutShadows)
{
    if (GetParam() != RendererSetUp::FixedFunction) {
        GTEST_SKIP() << "has shadow maps";
    }
    QuorvaneTest::ErrorCapture errors;
    testing::internal::CaptureStderr();
    DrawFrame();
    DrawFrame();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("fixed-function set-up: scenes draw without sky, fog and shadows\n"),
              std::string::npos)
        << said;
    EXPECT_EQ(said.find("shadows", said.find("shadows") + 1), std::string::npos) << "said once: " << said;
    EXPECT_FALSE(errors.Fired()) << (errors.Fired() ? errors.Last() : "");
}

INSTANTIATE_TEST_SUITE_P(RendererSetUps, ShadowMapGL,
                         testing::Values(RendererSetUp::Desktop, RendererSetUp::Embedded,
                                         RendererSetUp::FixedFunction),
                         [](const testing::TestParamInfo<RendererSetUp>& info) {
                             return SetUpName(info.param);
                         });

} // namespace
