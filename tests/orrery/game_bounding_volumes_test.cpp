// Sphere and box intersection, including the coarse box-sphere shortcut and the size checks.

#include "orrery/game_bounding_volumes.h"
#include "support/error_capture.h"

#include <gtest/gtest.h>

namespace {

using Marrowgate::Core::Vector3;
using Orrery::Game::BoundingVolume;

BoundingVolume Sphere(float radius, Vector3 center)
{
    BoundingVolume volume(radius);
    volume.center = center;
    return volume;
}

BoundingVolume Box(float side, Vector3 center)
{
    BoundingVolume volume(side, side, side);
    volume.center = center;
    return volume;
}

// Checks both operand orders, which must agree.
void ExpectIntersection(const BoundingVolume& a, const BoundingVolume& b, bool expected)
{
    EXPECT_EQ(a.Intersects(b), expected);
    EXPECT_EQ(b.Intersects(a), expected);
}

TEST(BoundingVolumes, BoxesThatTouchOnAFaceIntersect)
{
    ExpectIntersection(Box(1, {0, 0, 0}), Box(1, {1.0f, 0, 0}), true);
    ExpectIntersection(Box(1, {0, 0, 0}), Box(1, {1.5f, 0, 0}), false);
    ExpectIntersection(Box(1, {0, 0, 0}), Box(1, {0, 0, -1.01f}), false);
}

TEST(BoundingVolumes, SpheresThatOnlyTouchDoNotIntersect)
{
    ExpectIntersection(Sphere(0.5f, {0, 0, 0}), Sphere(0.5f, {1.0f, 0, 0}), false);
    ExpectIntersection(Sphere(0.5f, {0, 0, 0}), Sphere(0.5f, {0.999f, 0, 0}), true);
}

TEST(BoundingVolumes, ASphereWithinOneAxisOfABoxCountsAsTouching)
{
    // The sphere does not reach the box's corner region, but its centre lies within the box's
    // extent along z, so the coarse rule answers true.
    ExpectIntersection(Box(2, {0, 0, 0}), Sphere(1, {2, 2, 0.5f}), true);
}

TEST(BoundingVolumes, ASphereNearACornerIsMeasuredToTheCorner)
{
    ExpectIntersection(Box(2, {0, 0, 0}), Sphere(1, {1.5f, 1.5f, 1.5f}), true);
    ExpectIntersection(Box(2, {0, 0, 0}), Sphere(1, {1.7f, 1.7f, 1.7f}), false);
    ExpectIntersection(Box(2, {0, 0, 0}), Sphere(1, {0, 0, 2.01f}), false);
}

TEST(BoundingVolumes, KindIsReadFromTheSize)
{
    EXPECT_TRUE(BoundingVolume(1.0f).IsSphere());
    EXPECT_FALSE(BoundingVolume(1.0f).IsBox());
    EXPECT_TRUE(BoundingVolume(1, 2, 3).IsBox());
    EXPECT_FLOAT_EQ(BoundingVolume(0.762f).GetRadius(), 0.762f);
}

TEST(BoundingVolumes, NonPositiveSizesAndBoxRadiiAreReported)
{
    QuorvaneTest::ErrorCapture errors;
    BoundingVolume sphere(0.0f);
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.Last(), "mgExternalError: Expected parameter radius(0.000) to be greater than 0.0");
    BoundingVolume box(1.0f, -2.0f, 0.0f);
    ASSERT_EQ(errors.messages.size(), 3u);
    EXPECT_EQ(errors.messages[1],
              "mgExternalError: Expected parameter height(-2.000) to be greater than 0.0");
    EXPECT_EQ(errors.messages[2], "mgExternalError: Expected parameter depth(0.000) to be greater than 0.0");
    BoundingVolume(1, 1, 1).GetRadius();
    EXPECT_EQ(errors.Last(), "mgExternalError: This bounding volume is not a sphere.");
}

} // namespace
