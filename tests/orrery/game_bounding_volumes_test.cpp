// Sphere and box intersection and contacts, including the coarse box-sphere shortcut and the
// size checks.

#include "orrery/game_bounding_volumes.h"
#include "support/error_capture.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using Marrowgate::Core::Contact3D;
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

BoundingVolume BoxOf(Vector3 size, Vector3 center)
{
    BoundingVolume volume(size.x, size.y, size.z);
    volume.center = center;
    return volume;
}

struct ContactCase
{
    const char* what;
    BoundingVolume a;
    BoundingVolume b;
    Vector3 normal; // for a: pointing from b towards a
    float depth;
    Vector3 point;
    bool hasDirection = true; // false where the volumes share a centre
};

TEST(BoundingVolumes, ContactsGiveTheWayOutTheDepthAndWhereTheVolumesMeet)
{
    const float diagonal = 0.70710678f;
    QuorvaneTest::ErrorCapture errors; // for the boxes of zero width
    const ContactCase cases[] = {
        {"overlapping spheres",
         Sphere(1, {0, 0, 0}),
         Sphere(1, {0, 0, 1.5f}),
         {0, 0, -1},
         0.5f,
         {0, 0, 0.75f}},
        {"spheres with one centre",
         Sphere(1, {0, 0, 0}),
         Sphere(2, {0, 0, 0}),
         {0, 1, 0},
         3.0f,
         {0, 0.5f, 0},
         false},
        {"a sphere resting on a box", Sphere(1, {0, 2, 0}), Box(2, {0, 0, 0}), {0, 1, 0}, 0.0f, {0, 1, 0}},
        {"a sphere inside a box, nearest the front face",
         Sphere(0.5f, {0, 0, 1.5f}),
         Box(4, {0, 0, 0}),
         {0, 0, 1},
         1.0f,
         {0, 0, 1.5f}},
        {"a sphere the coarse test passes beside a box's edge",
         Sphere(1, {2, 2, 0.5f}),
         Box(2, {0, 0, 0}),
         {diagonal, diagonal, 0},
         0.0f,
         {1.5f - 0.5f * diagonal, 1.5f - 0.5f * diagonal, 0.5f}},
        {"overlapping boxes",
         Box(2, {0, 0, 0}),
         Box(2, {1.5f, 0.5f, 0.25f}),
         {-1, 0, 0},
         0.5f,
         {0.75f, 0.25f, 0.125f}},
        {"boxes touching on a face", Box(1, {0, 0, 0}), Box(1, {1, 0, 0}), {-1, 0, 0}, 0.0f, {0.5f, 0, 0}},
        {"a box inside a box", Box(1, {0, 0, 0.5f}), Box(4, {0, 0, 0}), {0, 0, 1}, 2.0f, {0, 0, 0.5f}},
        {"equal boxes on one centre prefer y",
         Box(2, {0, 0, 0}),
         Box(2, {0, 0, 0}),
         {0, 1, 0},
         2.0f,
         {0, 0, 0},
         false},
        {"a box of zero width",
         BoxOf({0, 2, 2}, {0.5f, 0, 0}),
         Box(2, {0, 0, 0}),
         {1, 0, 0},
         0.5f,
         {0.5f, 0, 0}},
        {"a sphere against a box of zero width",
         Sphere(1, {0, 0, 0}),
         BoxOf({0, 2, 2}, {0.5f, 0, 0}),
         {-1, 0, 0},
         0.5f,
         {0.75f, 0, 0}},
    };
    for (const ContactCase& testCase : cases) {
        SCOPED_TRACE(testCase.what);
        const std::optional<Contact3D> contact = testCase.a.ContactWith(testCase.b);
        ASSERT_TRUE(contact.has_value());
        EXPECT_TRUE(contact->normal == testCase.normal);
        EXPECT_NEAR(contact->depth, testCase.depth, 1e-5f);
        EXPECT_TRUE(contact->point == testCase.point);
        if (testCase.hasDirection) {
            const std::optional<Contact3D> reverse = testCase.b.ContactWith(testCase.a);
            ASSERT_TRUE(reverse.has_value());
            EXPECT_TRUE(reverse->normal == -testCase.normal);
            EXPECT_NEAR(reverse->depth, testCase.depth, 1e-5f);
            EXPECT_TRUE(reverse->point == testCase.point);
        }
    }
    EXPECT_EQ(errors.Last(), "mgExternalError: Expected parameter width(0.000) to be greater than 0.0");
}

TEST(BoundingVolumes, VolumesThatDoNotIntersectHaveNoContact)
{
    EXPECT_FALSE(Sphere(0.5f, {0, 0, 0}).ContactWith(Sphere(0.5f, {1.0f, 0, 0})).has_value());
    EXPECT_FALSE(Box(1, {0, 0, 0}).ContactWith(Box(1, {1.5f, 0, 0})).has_value());
    EXPECT_FALSE(Box(2, {0, 0, 0}).ContactWith(Sphere(1, {1.7f, 1.7f, 1.7f})).has_value());
}

} // namespace
