#include "perspective_scene.h"

#include "cinderhall/cdh_shader_manager.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/mg_screen.h"
#include "support/error_capture.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

namespace {

using Marrowgate::Core::Matrix4;
namespace Renderer = Marrowgate::Graphics;

// Records what the 3D content would have drawn under.
class ProbeScene : public PerspectiveScene
{
public:
    void OnPerspectiveRender() override
    {
        projectionInside = Renderer::GetProjectionMatrix();
        modelViewInside = Renderer::GetModelViewMatrix();
    }

    Matrix4 projectionInside;
    Matrix4 modelViewInside;
};

void ExpectSameMatrix(const Matrix4& actual, const Matrix4& expected)
{
    for (int element = 0; element < 16; ++element) {
        EXPECT_EQ(actual.m[element], expected.m[element]) << "element " << element;
    }
}

// Without a context the renderer still keeps its matrices, so the pass can be followed here.
class PerspectiveSceneTest : public ::testing::Test
{
protected:
    PerspectiveSceneTest()
    {
        Renderer::SetScreenSize(1280, 720);
        Renderer::SetProjectionMatrix(twoDProjection);
        Renderer::SetModelViewMatrix(twoDModelView);
    }

    Matrix4 twoDProjection = Marrowgate::Core::CreateOrthoRH(0.0f, 1280.0f, 0.0f, 720.0f, -1.0f, 1.0f);
    Matrix4 twoDModelView = Marrowgate::Core::MatrixCreateTranslation(3.0f, 4.0f, 0.0f);
    ProbeScene scene;
    QuorvaneTest::ErrorCapture errors;
};

TEST(PerspectiveProjectionTest, SixteenByNineGivesTheNarrowedVerticalAngleAndExactDepthTerms)
{
    const Matrix4 projection = PerspectiveScene::ComputeProjection(1.5707964f, 16.0f / 9.0f);
    EXPECT_NEAR(projection.m[5], 2.1143f, 1e-4f);
    EXPECT_NEAR(projection.m[0], 1.1893f, 1e-4f);
    EXPECT_FLOAT_EQ(projection.m[0], projection.m[5] / (16.0f / 9.0f));
    EXPECT_EQ(std::bit_cast<std::uint32_t>(projection.m[10]), 0xBF80006Fu);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(projection.m[11]), 0xBE4CCD26u);
    EXPECT_EQ(projection.m[14], -1.0f);
    for (int element : {1, 2, 3, 4, 6, 7, 8, 9, 12, 13, 15}) {
        EXPECT_EQ(projection.m[element], 0.0f) << "element " << element;
    }
}

TEST_F(PerspectiveSceneTest, ThePassDrawsUnderTheCameraAndLeavesThe2DStateAsItWas)
{
    scene.Render();
    ExpectSameMatrix(scene.projectionInside,
                     PerspectiveScene::ComputeProjection(1.5707964f, 1280.0f / 720.0f));
    ExpectSameMatrix(scene.modelViewInside, scene.GetCamera3D().ComputeView());
    ExpectSameMatrix(Renderer::GetProjectionMatrix(), twoDProjection);
    ExpectSameMatrix(Renderer::GetModelViewMatrix(), twoDModelView);
    EXPECT_EQ(Cinderhall::theShaderManager->GetBoundShader(), Cinderhall::InvalidShader);
    EXPECT_FALSE(errors.Fired());
}

TEST_F(PerspectiveSceneTest, EndingAPassThatWasNeverBegunIsReportedAndTouchesNothing)
{
    scene.EndPerspectiveRender();
    ASSERT_TRUE(errors.Fired());
    EXPECT_EQ(errors.Last(), "Attempting to EndPerspectiveRender, not currently setup!");
    ExpectSameMatrix(Renderer::GetProjectionMatrix(), twoDProjection);
    ExpectSameMatrix(Renderer::GetModelViewMatrix(), twoDModelView);
}

TEST_F(PerspectiveSceneTest, BeginningTwiceIsReportedAndTheFirstSavedStateStillComesBack)
{
    scene.BeginPerspectiveRender();
    scene.BeginPerspectiveRender();
    ASSERT_TRUE(errors.Fired());
    EXPECT_EQ(errors.Last(), "Attempting to BeginPerspectiveRender, already setup!");
    scene.EndPerspectiveRender();
    EXPECT_EQ(errors.messages.size(), 1u);
    ExpectSameMatrix(Renderer::GetProjectionMatrix(), twoDProjection);
    ExpectSameMatrix(Renderer::GetModelViewMatrix(), twoDModelView);
}

} // namespace
