// The camera's view matrix and the visualization's guard, without a GPU (the renderer tracks
// its matrices before it is initialised).

#include "cinderhall/cdh_visualization.h"

#include "support/error_capture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace Cinderhall;

Vector3 Transform(const Matrix4& matrix, const Vector3& point)
{
    const float* m = matrix.m;
    return {m[0] * point.x + m[1] * point.y + m[2] * point.z + m[3],
            m[4] * point.x + m[5] * point.y + m[6] * point.z + m[7],
            m[8] * point.x + m[9] * point.y + m[10] * point.z + m[11]};
}

TEST(Camera, LooksDownNegativeZAtItsTarget)
{
    cdhCamera camera({10, 10, 10}, {0, 0, 0}, {0, 1, 0});
    const Matrix4 view = camera.ApplyCamera();
    EXPECT_EQ(view, Marrowgate::Graphics::GetModelViewMatrix());

    const Vector3 origin = Transform(view, {0, 0, 0});
    EXPECT_NEAR(origin.x, 0.0f, 1e-5f);
    EXPECT_NEAR(origin.y, 0.0f, 1e-5f);
    EXPECT_NEAR(origin.z, -std::sqrt(300.0f), 1e-4f);

    // World up stays up on screen, and +x (seen from the (1, 1, 1) side) lies to the right.
    EXPECT_GT(Transform(view, {0, 1, 0}).y, 0.0f);
    EXPECT_GT(Transform(view, {1, 0, -1}).x, 0.0f);
}

TEST(Camera, SetTargetTurnsWithoutMoving)
{
    cdhCamera camera({10, 10, 10}, {0, 0, 0}, {0, 1, 0});
    camera.SetTarget({10, 0, 10});
    EXPECT_EQ(camera.GetPosition(), Vector3(10, 10, 10));
    EXPECT_EQ(camera.GetForward(), Vector3(0, -1, 0.0f));

    // A target too close to have a direction keeps the short difference unnormalised.
    camera.SetTarget({10, 10, 10.000001f});
    EXPECT_NEAR(camera.GetForward().z, 0.000001f, 1e-7f);
}

TEST(Visualization, DrawingWithoutItsShaderIsReportedAndSkipped)
{
    ASSERT_EQ(GetVisualizationShader(), InvalidShader);
    Visualization lines;
    lines.AddLine({0, 0, 0}, {1, 0, 0}, 0xFFFF0000u);
    QuorvaneTest::ErrorCapture errors;
    lines.Render();
    RenderAxes(10.0f, true);
    ASSERT_EQ(errors.messages.size(), 2u);
    EXPECT_EQ(errors.Last(), "Expected visualization shader handle to have been set before Render call.");
    EXPECT_EQ(theShaderManager->GetBoundShader(), InvalidShader) << "nothing left pushed";

    lines.SetEnabled(false);
    lines.Render();
    EXPECT_EQ(errors.messages.size(), 2u) << "a disabled visualization does not even check";
}

} // namespace
