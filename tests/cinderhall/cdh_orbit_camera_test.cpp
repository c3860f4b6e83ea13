// The orbit camera: where yaw, pitch and distance place it, how it keeps its limits, and that
// its view looks at the target.

#include "cinderhall/cdh_orbit_camera.h"

#include "support/error_capture.h"
#include "support/vector_expectations.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace Cinderhall;
using Marrowgate::Core::PiOverTwo;
using Marrowgate::Core::TransformCoordinate;
using QuorvaneTest::ExpectNear;

// A view puts the point it looks at straight ahead: on the eye's -z axis, `distance` away.
void ExpectStraightAhead(const Matrix4& view, const Vector3& point, float distance)
{
    ExpectNear(TransformCoordinate(point, view), Vector3(0.0f, 0.0f, -distance));
}

TEST(OrbitCamera, YawAndPitchPlaceItAroundTheTarget)
{
    const Vector3 target(1.0f, 2.0f, 3.0f);
    OrbitCamera camera(target, 5.0f, 0.0f, 0.0f);
    ExpectNear(camera.ComputePosition(), target + Vector3(0.0f, 0.0f, 5.0f));

    // A quarter turn looks along +X, so the camera sits on the target's -X side.
    camera.SetYaw(PiOverTwo);
    ExpectNear(camera.ComputePosition(), target + Vector3(-5.0f, 0.0f, 0.0f));

    // Looking down by 30 degrees lifts it by half its distance.
    camera.SetPitch(Marrowgate::Core::Pi / 6.0f);
    ExpectNear(camera.ComputePosition(), target + Vector3(-5.0f * std::sqrt(0.75f), 2.5f, 0.0f));
    ExpectStraightAhead(camera.ComputeView(), target, 5.0f);
}

TEST(OrbitCamera, PitchAndDistanceStayWithinTheirLimits)
{
    OrbitCamera camera({0.0f, 0.0f, 0.0f}, 5.0f, 0.0f, 0.0f);
    camera.Turn(0.0f, 10.0f);
    EXPECT_FLOAT_EQ(camera.GetPitch(), OrbitCamera::kSteepestPitch);
    camera.Turn(0.0f, -20.0f);
    EXPECT_FLOAT_EQ(camera.GetPitch(), -OrbitCamera::kSteepestPitch);

    camera.SetPitchLimits(0.1f, 0.8f);
    EXPECT_FLOAT_EQ(camera.GetPitch(), 0.1f) << "new limits apply to the current pitch";
    camera.SetPitch(0.8f);
    EXPECT_FLOAT_EQ(camera.GetPitch(), 0.8f) << "a limit itself is allowed";

    camera.SetDistanceLimits(2.0f, 8.0f);
    camera.SetDistance(100.0f);
    EXPECT_FLOAT_EQ(camera.GetDistance(), 8.0f);
    camera.SetDistance(0.0f);
    EXPECT_FLOAT_EQ(camera.GetDistance(), 2.0f);
}

TEST(OrbitCamera, YawWrapsIntoOneTurn)
{
    OrbitCamera camera({0.0f, 0.0f, 0.0f}, 5.0f, -PiOverTwo, 0.0f);
    EXPECT_NEAR(camera.GetYaw(), 3.0f * PiOverTwo, 1e-5f);
    camera.Turn(PiOverTwo * 2.0f, 0.0f);
    EXPECT_NEAR(camera.GetYaw(), PiOverTwo, 1e-5f);
}

TEST(OrbitCamera, BadLimitsAndValuesAreReportedAndIgnored)
{
    OrbitCamera camera({0.0f, 0.0f, 0.0f}, 5.0f, 0.0f, 0.3f);
    QuorvaneTest::ErrorCapture errors;
    camera.SetPitchLimits(0.5f, 0.2f);
    camera.SetPitchLimits(-1.6f, 0.2f);
    camera.SetDistanceLimits(0.0f, 10.0f);
    camera.SetDistanceLimits(3.0f, 1.0f);
    camera.SetDistance(std::nanf(""));
    camera.SetYaw(INFINITY);
    EXPECT_EQ(errors.messages.size(), 6u);
    EXPECT_EQ(errors.messages[0],
              "mgExternalError: Expected pitch limits (0.500, 0.200) in order within (-1.55, 1.55); they are "
              "ignored.");
    EXPECT_FLOAT_EQ(camera.GetPitch(), 0.3f);
    EXPECT_FLOAT_EQ(camera.GetDistance(), 5.0f);
    EXPECT_FLOAT_EQ(camera.GetYaw(), 0.0f);
}

} // namespace
