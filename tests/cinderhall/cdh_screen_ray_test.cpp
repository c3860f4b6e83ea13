// Screen points turned into world rays for known cameras and projections.

#include "cinderhall/cdh_screen_ray.h"

#include "support/error_capture.h"
#include "support/vector_expectations.h"

#include <gtest/gtest.h>

namespace {

using namespace Cinderhall;
using Marrowgate::Core::CreatePerspectiveRH;
using Marrowgate::Core::MatrixCreateLookAt;
using Marrowgate::Core::PiOverTwo;
using QuorvaneTest::ExpectNear;

// A camera at (0, 0, 5) looking at the origin with a 90-degree square view: the rectangle's
// corners lie on the 45-degree diagonals.
class SquareView : public testing::Test
{
protected:
    Ray RayThrough(float x, float y) const { return ScreenPointToRay({x, y}, rectangle, view, projection); }

    ScreenRectangle rectangle{200.0f, 100.0f, 100.0f, 100.0f};
    Matrix4 view = MatrixCreateLookAt({0.0f, 0.0f, 5.0f}, {0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f});
    Matrix4 projection = CreatePerspectiveRH(PiOverTwo, 1.0f, 0.1f, 100.0f);
};

TEST_F(SquareView, TheMiddleOfTheRectangleLooksStraightAheadFromTheNearPlane)
{
    const Ray ray = RayThrough(250.0f, 150.0f);
    ExpectNear(ray.origin, {0.0f, 0.0f, 4.9f});
    ExpectNear(ray.direction, {0.0f, 0.0f, -1.0f});
}

TEST_F(SquareView, CornersGoAlongTheDiagonalsWithScreenYDown)
{
    const float third = 1.0f / std::sqrt(3.0f);
    ExpectNear(RayThrough(300.0f, 100.0f).direction, {third, third, -third});
    ExpectNear(RayThrough(200.0f, 200.0f).direction, {-third, -third, -third});
    // Half way to the right edge: tan(angle) = 0.5.
    ExpectNear(RayThrough(275.0f, 150.0f).direction, Vector3(0.5f, 0.0f, -1.0f).GetNormalized());
}

TEST_F(SquareView, BadRectanglesAndMatricesAreReportedAndHitNothing)
{
    QuorvaneTest::ErrorCapture errors;
    const Ray empty =
        ScreenPointToRay({0.0f, 0.0f}, ScreenRectangle{0.0f, 0.0f, 0.0f, 10.0f}, view, projection);
    EXPECT_EQ(errors.Last(),
              "mgExternalError: Expected a view rectangle with a width and a height, not 0.0 x 10.0.");
    EXPECT_EQ(empty.direction, Vector3());

    Matrix4 flat = projection;
    flat.m[5] = 0.0f;
    const Ray singular = ScreenPointToRay({250.0f, 150.0f}, rectangle, view, flat);
    EXPECT_EQ(errors.messages.size(), 2u);
    EXPECT_EQ(singular.direction, Vector3());
}

TEST(ScreenRay, TheGamesCameraSeesItsTargetInTheMiddleOfTheScreen)
{
    // The camera at (10, 10, 10) over the origin, with a wide 16:9 projection and a far plane
    // 150,000 times the near one.
    const Matrix4 view = MatrixCreateLookAt({10.0f, 10.0f, 10.0f}, {0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f});
    const Matrix4 projection = CreatePerspectiveRH(PiOverTwo / (16.0f / 9.0f), 16.0f / 9.0f, 0.1f, 15000.0f);
    const Ray ray =
        ScreenPointToRay({640.0f, 360.0f}, ScreenRectangle{0.0f, 0.0f, 1280.0f, 720.0f}, view, projection);
    const float third = 1.0f / std::sqrt(3.0f);
    ExpectNear(ray.direction, {-third, -third, -third});
    // The ray passes through the origin, about 17.32 units on.
    ExpectNear(ray.PointAt(std::sqrt(300.0f) - 0.1f), {0.0f, 0.0f, 0.0f}, 1e-3f);
}

} // namespace
