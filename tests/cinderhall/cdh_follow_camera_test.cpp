// The follow camera: where it sits behind its target, how it lags, and that its view looks
// at the target.

#include "cinderhall/cdh_follow_camera.h"

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

TEST(FollowCamera, StartsInItsPlaceBehindAndAboveTheTarget)
{
    FollowCamera camera({0.0f, 3.0f, 4.0f}, 0.5f);
    camera.Follow({1.0f, 0.0f, 2.0f}, 0.0f, 0.016f);
    ExpectNear(camera.GetPosition(), {1.0f, 3.0f, 6.0f});
    ExpectNear(camera.GetLookPoint(), {1.0f, 0.0f, 2.0f});
    ExpectStraightAhead(camera.ComputeView(), {1.0f, 0.0f, 2.0f}, 5.0f);
}

TEST(FollowCamera, OffsetTurnsWithTheTargetsHeading)
{
    FollowCamera camera({1.0f, 3.0f, 4.0f}, 0.0f);
    // Facing +X: behind is -X and the right-hand side is +Z.
    camera.Follow({0.0f, 0.0f, 0.0f}, PiOverTwo, 0.016f);
    ExpectNear(camera.GetPosition(), {-4.0f, 3.0f, 1.0f});
}

TEST(FollowCamera, LagClosesTheGapExponentiallyAtAnyFrameRate)
{
    FollowCamera oneFrame({0.0f, 0.0f, 10.0f}, 0.25f);
    FollowCamera tenFrames({0.0f, 0.0f, 10.0f}, 0.25f);
    oneFrame.SnapTo({0.0f, 0.0f, 0.0f}, 0.0f);
    tenFrames.SnapTo({0.0f, 0.0f, 0.0f}, 0.0f);

    oneFrame.Follow({8.0f, 0.0f, 0.0f}, 0.0f, 0.25f);
    for (int frame = 0; frame < 10; ++frame) {
        tenFrames.Follow({8.0f, 0.0f, 0.0f}, 0.0f, 0.025f);
    }
    // One time constant covers 1 - 1/e of the way.
    const float expectedX = 8.0f * (1.0f - std::exp(-1.0f));
    EXPECT_NEAR(oneFrame.GetPosition().x, expectedX, 1e-4f);
    EXPECT_NEAR(tenFrames.GetPosition().x, expectedX, 1e-4f);
    // The look point does not lag: the target stays in the middle of the picture.
    ExpectNear(oneFrame.GetLookPoint(), {8.0f, 0.0f, 0.0f});
}

TEST(FollowCamera, NoLagOrASnapKeepsItExactlyInPlace)
{
    FollowCamera camera({0.0f, 2.0f, 5.0f}, 0.0f);
    camera.Follow({0.0f, 0.0f, 0.0f}, 0.0f, 0.01f);
    camera.Follow({3.0f, 0.0f, 0.0f}, 0.0f, 0.01f);
    ExpectNear(camera.GetPosition(), {3.0f, 2.0f, 5.0f});

    camera.SetLag(2.0f);
    camera.SnapTo({-7.0f, 0.0f, 0.0f}, 0.0f);
    ExpectNear(camera.GetPosition(), {-7.0f, 2.0f, 5.0f});
}

TEST(FollowCamera, NegativeLagIsReportedAndTakenAsNone)
{
    QuorvaneTest::ErrorCapture errors;
    FollowCamera camera({0.0f, 1.0f, 1.0f}, -1.0f);
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.Last(), "mgExternalError: Expected parameter lag(-1.000) to be 0 or greater.");
    EXPECT_EQ(camera.GetLag(), 0.0f);
    camera.SetLag(std::nanf(""));
    EXPECT_EQ(errors.messages.size(), 2u);
    EXPECT_EQ(camera.GetLag(), 0.0f);
}

} // namespace
