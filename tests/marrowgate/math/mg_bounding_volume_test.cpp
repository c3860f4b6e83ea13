// 2D circle and box intersection and contacts at world centres, and the kind checks of the
// accessors.

#include "marrowgate/math/mg_bounding_volume.h"
#include "marrowgate/math/unstable/mgu_bounding_volume.h"
#include "support/error_capture.h"

#include <gtest/gtest.h>

#include <optional>
#include <type_traits>

namespace {

using Marrowgate::Core::BoundingVolume;
using Marrowgate::Core::Contact2D;
using Marrowgate::Core::Vector2;

static_assert(std::is_same_v<Marrowgate::Core::Unstable::BoundingVolume, BoundingVolume>,
              "code written against the former name keeps compiling");

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

struct ContactCase
{
    const char* what;
    BoundingVolume a;
    Vector2 centerA;
    BoundingVolume b;
    Vector2 centerB;
    Vector2 normal; // for a: pointing from b towards a
    float depth;
    Vector2 point;
    bool hasDirection = true; // false where the volumes share a centre
};

void ExpectContact(const ContactCase& testCase)
{
    SCOPED_TRACE(testCase.what);
    const std::optional<Contact2D> contact =
        testCase.a.ContactWith(testCase.centerA, testCase.b, testCase.centerB);
    ASSERT_TRUE(contact.has_value());
    EXPECT_TRUE(contact->normal == testCase.normal) << contact->normal.x << ", " << contact->normal.y;
    EXPECT_NEAR(contact->depth, testCase.depth, 1e-5f);
    EXPECT_TRUE(contact->point == testCase.point) << contact->point.x << ", " << contact->point.y;
    if (testCase.hasDirection) {
        const std::optional<Contact2D> reverse =
            testCase.b.ContactWith(testCase.centerB, testCase.a, testCase.centerA);
        ASSERT_TRUE(reverse.has_value());
        EXPECT_TRUE(reverse->normal == -testCase.normal);
        EXPECT_NEAR(reverse->depth, testCase.depth, 1e-5f);
        EXPECT_TRUE(reverse->point == testCase.point);
    }
}

TEST(BoundingVolume2D, ContactsGiveTheWayOutTheDepthAndWhereTheVolumesMeet)
{
    const BoundingVolume unitCircle = BoundingVolume::Circle(1.0f);
    const BoundingVolume square = BoundingVolume::Box(2.0f, 2.0f);
    const BoundingVolume wide = BoundingVolume::Box(4.0f, 2.0f);
    const float diagonal = 0.70710678f;
    const ContactCase cases[] = {
        {"overlapping circles", unitCircle, {0, 0}, unitCircle, {1.5f, 0}, {-1, 0}, 0.5f, {0.75f, 0}},
        {"circles with one centre",
         unitCircle,
         {0, 0},
         BoundingVolume::Circle(2.0f),
         {0, 0},
         {0, 1},
         3.0f,
         {0, 0.5f},
         false},
        {"a circle beside a box", unitCircle, {2.5f, 0}, wide, {0, 0}, {1, 0}, 0.5f, {1.75f, 0}},
        {"a circle touching a box's edge", unitCircle, {3.0f, 0}, wide, {0, 0}, {1, 0}, 0.0f, {2.0f, 0}},
        {"a circle on a box's corner",
         unitCircle,
         {2.5f, 1.5f},
         wide,
         {0, 0},
         {diagonal, diagonal},
         1.0f - 0.5f / diagonal,
         {2.0f + 0.5f * (0.5f - diagonal), 1.0f + 0.5f * (0.5f - diagonal)}},
        {"a circle inside a box, nearest the right face",
         BoundingVolume::Circle(0.5f),
         {1.5f, 0},
         wide,
         {0, 0},
         {1, 0},
         1.0f,
         {1.5f, 0}},
        {"a circle at a box's centre leaves through the nearer face",
         BoundingVolume::Circle(0.5f),
         {0, 0},
         wide,
         {0, 0},
         {0, 1},
         1.5f,
         {0, 0.25f}},
        {"overlapping boxes", square, {0, 0}, square, {1.5f, 0.5f}, {-1, 0}, 0.5f, {0.75f, 0.25f}},
        {"boxes whose edges touch", square, {0, 0}, square, {0, 2.0f}, {0, -1}, 0.0f, {0, 1.0f}},
        {"a box inside a box",
         BoundingVolume::Box(1.0f, 1.0f),
         {0.5f, 0},
         BoundingVolume::Box(4.0f, 4.0f),
         {0, 0},
         {1, 0},
         2.0f,
         {0.5f, 0}},
        {"equal boxes on one centre prefer y", square, {0, 0}, square, {0, 0}, {0, 1}, 2.0f, {0, 0}, false},
        {"a box landing on a corner prefers y",
         square,
         {1.5f, -1.5f},
         square,
         {0, 0},
         {0, -1},
         0.5f,
         {0.75f, -0.75f}},
        {"a box of zero width",
         BoundingVolume::Box(0.0f, 2.0f),
         {0.5f, 0},
         square,
         {0, 0},
         {1, 0},
         0.5f,
         {0.5f, 0}},
        {"a circle against a box of zero width",
         unitCircle,
         {0, 0},
         BoundingVolume::Box(0.0f, 2.0f),
         {0.5f, 0},
         {-1, 0},
         0.5f,
         {0.75f, 0}},
    };
    for (const ContactCase& testCase : cases) {
        ExpectContact(testCase);
    }
}

TEST(BoundingVolume2D, VolumesThatDoNotIntersectHaveNoContact)
{
    const BoundingVolume circle = BoundingVolume::Circle(1.0f);
    const BoundingVolume box = BoundingVolume::Box(2.0f, 2.0f);
    EXPECT_FALSE(circle.ContactWith({0, 0}, circle, {2.0f, 0}).has_value()); // touching circles
    EXPECT_FALSE(box.ContactWith({0, 0}, box, {2.01f, 0}).has_value());
    EXPECT_FALSE(circle.ContactWith({2.5f, 2.5f}, box, {0, 0}).has_value());
}

} // namespace
