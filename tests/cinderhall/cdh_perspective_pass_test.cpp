// The perspective pass without a GPU (the renderer keeps its matrices before it starts): what it
// sets for the 3D drawing, what it puts back, its projection and rays, and unbalanced calls.

#include "cinderhall/cdh_perspective_pass.h"

#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/mg_screen.h"
#include "support/error_capture.h"
#include "support/vector_expectations.h"

#include <gtest/gtest.h>

namespace {

using namespace Cinderhall;
namespace Renderer = Marrowgate::Graphics;
using Marrowgate::Core::MatrixCreateLookAt;
using QuorvaneTest::ExpectNear;

class PerspectivePassTest : public testing::Test
{
protected:
    PerspectivePassTest()
    {
        Renderer::SetScreenSize(800, 400);
        Renderer::SetProjectionMatrix(twoDProjection);
        Renderer::SetModelViewMatrix(twoDModelView);
    }

    Matrix4 twoDProjection = Marrowgate::Core::CreateOrthoRH(0.0f, 800.0f, 0.0f, 400.0f, -1.0f, 1.0f);
    Matrix4 twoDModelView = Marrowgate::Core::MatrixCreateTranslation(3.0f, 4.0f, 0.0f);
    Matrix4 view = MatrixCreateLookAt({0.0f, 0.0f, 5.0f}, {0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f});
    PerspectivePass pass;
    QuorvaneTest::ErrorCapture errors;
};

TEST_F(PerspectivePassTest, DrawsUnderTheViewAndProjectionAndPutsThe2DStateBack)
{
    pass.Begin(view);
    EXPECT_EQ(Renderer::GetModelViewMatrix(), view);
    EXPECT_EQ(Renderer::GetProjectionMatrix(), pass.ComputeProjection());
    pass.End();
    EXPECT_EQ(Renderer::GetProjectionMatrix(), twoDProjection);
    EXPECT_EQ(Renderer::GetModelViewMatrix(), twoDModelView);
    EXPECT_EQ(theShaderManager->GetBoundShader(), InvalidShader);
    EXPECT_FALSE(errors.Fired());
}

TEST_F(PerspectivePassTest, TheProjectionFollowsTheRectanglesShape)
{
    // The whole 2:1 screen by default...
    const Matrix4 wide = pass.ComputeProjection();
    EXPECT_FLOAT_EQ(wide.m[5] / wide.m[0], 2.0f);
    EXPECT_FLOAT_EQ(wide.m[5], 1.0f / std::tan(PerspectivePass::kDefaultFieldOfView / 2.0f));
    // ...or a square inside it.
    pass.SetRectangle({100.0f, 50.0f, 200.0f, 200.0f});
    const Matrix4 square = pass.ComputeProjection();
    EXPECT_FLOAT_EQ(square.m[5] / square.m[0], 1.0f);
    EXPECT_EQ(square.m[5], wide.m[5]) << "the vertical field of view is kept";
}

TEST_F(PerspectivePassTest, RaysGoThroughTheRectangleOfTheLastView)
{
    pass.SetRectangle({100.0f, 50.0f, 200.0f, 200.0f});
    pass.SetFieldOfView(Marrowgate::Core::PiOverTwo);
    pass.Begin(view);
    pass.End();
    const Ray middle = pass.ScreenPointToRay({200.0f, 150.0f});
    ExpectNear(middle.direction, {0.0f, 0.0f, -1.0f});
    const float third = 1.0f / std::sqrt(3.0f);
    ExpectNear(pass.ScreenPointToRay({300.0f, 50.0f}).direction, {third, third, -third});
}

TEST_F(PerspectivePassTest, BeforeTheFirstViewRaysUseThePassesOwnProjection)
{
    // A scene's first update comes before its first frame: no report, a usable ray.
    const Ray ray = pass.ScreenPointToRay({400.0f, 200.0f});
    EXPECT_FALSE(errors.Fired());
    ExpectNear(ray.direction, {0.0f, 0.0f, -1.0f});
}

TEST_F(PerspectivePassTest, UnbalancedCallsAreReportedAndKeepThe2DState)
{
    pass.End();
    EXPECT_EQ(errors.Last(), "mgExternalError: Cannot end a perspective pass that is not open.");
    EXPECT_EQ(Renderer::GetModelViewMatrix(), twoDModelView);

    pass.Begin(view);
    pass.Begin(Matrix4());
    EXPECT_EQ(errors.Last(), "mgExternalError: Cannot begin a perspective pass that is already open.");
    EXPECT_EQ(Renderer::GetModelViewMatrix(), view) << "the second Begin changed nothing";
    pass.End();
    EXPECT_EQ(errors.messages.size(), 2u);
    EXPECT_EQ(Renderer::GetModelViewMatrix(), twoDModelView);
}

TEST_F(PerspectivePassTest, APassLeftOpenIsClosedWithItsOwner)
{
    {
        PerspectivePass forgotten;
        forgotten.Begin(view);
    }
    EXPECT_EQ(Renderer::GetProjectionMatrix(), twoDProjection);
    EXPECT_EQ(Renderer::GetModelViewMatrix(), twoDModelView);
}

TEST_F(PerspectivePassTest, BadFieldsOfViewAndClipPlanesAreReportedAndIgnored)
{
    const Matrix4 before = pass.ComputeProjection();
    pass.SetFieldOfView(0.0f);
    pass.SetFieldOfView(Marrowgate::Core::Pi);
    pass.SetClipPlanes(0.0f, 10.0f);
    pass.SetClipPlanes(5.0f, 5.0f);
    pass.SetClipPlanes(1.0f, INFINITY);
    EXPECT_EQ(errors.messages.size(), 5u);
    EXPECT_EQ(
        errors.messages[2],
        "mgExternalError: Expected clip planes with 0 < near < far, not near 0.000000 and far 10.000000.");
    EXPECT_EQ(pass.ComputeProjection(), before);
}

} // namespace
