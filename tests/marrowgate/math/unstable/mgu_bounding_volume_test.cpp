// 2D circle and box intersection at world centres, and the kind checks of the accessors.

#include "marrowgate/math/unstable/mgu_bounding_volume.h"
#include "support/error_capture.h"

#include <gtest/gtest.h>

namespace {

using Marrowgate::Core::Vector2;
using Marrowgate::Core::Unstable::BoundingVolume;

void ExpectIntersection(const BoundingVolume& a, Vector2 centerA, const BoundingVolume& b, Vector2 centerB,
                        bool expected)
{
    EXPECT_EQ(a.Intersects(centerA, b, centerB), expected);
    EXPECT_EQ(b.Intersects(centerB, a, centerA), expected);
}

TEST(BoundingVolume2D, TouchingCirclesDoNotCollide)
{
    const BoundingVolume circle = BoundingVolume::Circle(1.0f);
    ExpectIntersection(circle, {0, 0}, circle, {2.0f, 0}, false);
    ExpectIntersection(circle, {0, 0}, circle, {1.9f, 0}, true);
}

TEST(BoundingVolume2D, BoxesWhoseEdgesTouchCollide)
{
    const BoundingVolume box = BoundingVolume::Box(2.0f, 2.0f);
    ExpectIntersection(box, {0, 0}, box, {2.0f, 0}, true);
    ExpectIntersection(box, {0, 0}, box, {2.01f, 0}, false);
    ExpectIntersection(box, {0, 0}, box, {0, -2.01f}, false);
}

TEST(BoundingVolume2D, ACircleNearABoxCornerIsMeasuredToTheCorner)
{
    const BoundingVolume box = BoundingVolume::Box(2.0f, 2.0f);
    const BoundingVolume circle = BoundingVolume::Circle(1.0f);
    ExpectIntersection(circle, {2.5f, 2.5f}, box, {0, 0}, false);
    ExpectIntersection(circle, {1.5f, 1.5f}, box, {0, 0}, true);
    ExpectIntersection(circle, {0.5f, 1.99f}, box, {0, 0}, true); // beside an edge
}

TEST(BoundingVolume2D, KindFollowsTheHeightAndWrongAccessorsAreReported)
{
    const BoundingVolume circle(3.0f, 0.0f, Vector2(1, 2));
    const BoundingVolume box(4.0f, 5.0f, Vector2());
    EXPECT_TRUE(circle.IsCircle());
    EXPECT_TRUE(box.IsBox());
    QuorvaneTest::ErrorCapture errors;
    EXPECT_FLOAT_EQ(circle.GetRadius(), 3.0f);
    EXPECT_FLOAT_EQ(box.GetHeight(), 5.0f);
    EXPECT_FALSE(errors.Fired());
    box.GetRadius();
    EXPECT_EQ(errors.Last(), "mgExternalError: This bounding volume is not a circle.");
    circle.GetWidth();
    EXPECT_EQ(errors.Last(), "mgExternalError: This bounding volume is not a box.");
}

} // namespace
