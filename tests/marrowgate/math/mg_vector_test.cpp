#include "marrowgate/math/mg_angle.h"
#include "marrowgate/math/mg_vector.h"

#include "support/error_capture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace Marrowgate::Core;
using QuorvaneTest::ErrorCapture;

void ExpectNear(const Vector3& actual, const Vector3& expected)
{
    EXPECT_NEAR(actual.x, expected.x, Epsilon);
    EXPECT_NEAR(actual.y, expected.y, Epsilon);
    EXPECT_NEAR(actual.z, expected.z, Epsilon);
}

TEST(VectorNormalize, ZeroVectorStaysZeroWithoutDividing)
{
    Vector3 zero;
    EXPECT_EQ(zero.Normalize(), 0.0f);
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_FALSE(std::isnan(zero.y));
    Vector2 v(3.0f, 4.0f);
    EXPECT_FLOAT_EQ(v.Normalize(), 5.0f);
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.y, 0.8f);
}

TEST(VectorNormalize, SetLengthHasACoarserThresholdThanNormalize)
{
    Vector2 shortVector(0.00005f, 0.0f);
    Vector2 normalized = shortVector.GetNormalized();
    EXPECT_FLOAT_EQ(normalized.x, 1.0f);
    shortVector.SetLength(2.0f);
    EXPECT_EQ(shortVector.x, 0.0f);
    Vector2 v(0.0f, 3.0f);
    v.SetLength(2.0f);
    EXPECT_FLOAT_EQ(v.y, 2.0f);
}

TEST(VectorAngles, AngleBetweenCoversOppositePerpendicularAndZero)
{
    const Vector3 x(1.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(AngleBetween(x, -x), Pi);
    EXPECT_FLOAT_EQ(AngleBetween(x, Vector3(0.0f, 2.0f, 0.0f)), PiOverTwo);
    EXPECT_EQ(AngleBetween(x, Vector3()), 0.0f);
    // Parallel vectors whose quotient rounds past 1 must not give NaN.
    const Vector3 odd(0.1f, 0.7f, 0.3f);
    EXPECT_FALSE(std::isnan(AngleBetween(odd, odd * 3.0f)));
}

TEST(VectorAngles, HeadingsRunClockwiseFromNegativeZ)
{
    EXPECT_NEAR(HeadingOnXZPlane({0.0f, 0.0f, -1.0f}), 0.0f, Epsilon);
    EXPECT_NEAR(HeadingOnXZPlane({1.0f, 0.0f, 0.0f}), PiOverTwo, Epsilon);
    EXPECT_NEAR(HeadingOnXZPlane({0.0f, 0.0f, 1.0f}), Pi, Epsilon);
    EXPECT_NEAR(HeadingOnXZPlane({-1.0f, 0.0f, 0.0f}), 3.0f * PiOverTwo, Epsilon);
    ExpectNear(DirectionFromHeading(Degrees(270).AsRadians()), {-1.0f, 0.0f, 0.0f});
    ExpectNear(DirectionFromHeading(HeadingOnXZPlane({-0.6f, 0.0f, 0.8f})), {-0.6f, 0.0f, 0.8f});
}

TEST(VectorCrossProduct, IsRightHandedWithTheLeftOperandFirst)
{
    ExpectNear(Vector3(1.0f, 0.0f, 0.0f) ^ Vector3(0.0f, 1.0f, 0.0f), {0.0f, 0.0f, 1.0f});
    ExpectNear(CrossProduct({1.0f, 2.0f, 3.0f}, {4.0f, 5.0f, 6.0f}), {-3.0f, 6.0f, -3.0f});
}

TEST(VectorFunctionForms, NullPointersAreReportedUnderTheUnitNameAndLeaveTheResult)
{
    ErrorCapture errors;
    const Vector3 a(1.0f, 2.0f, 3.0f);
    Vector3 result(9.0f, 9.0f, 9.0f);
    EXPECT_EQ(Vector3Add(&result, nullptr, &a), &result);
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.Last(), "mgExternalError: Invalid parameter for leftSide, expected valid pointer.");
    EXPECT_EQ(Marrowgate::Core::Error::GetLastErrorFile(), "mg_vector");
    ExpectNear(result, {9.0f, 9.0f, 9.0f});

    Vector2Subtract(nullptr, nullptr, nullptr);
    ASSERT_EQ(errors.messages.size(), 4u);
    EXPECT_EQ(errors.messages[1], "mgExternalError: Invalid parameter for result, expected valid pointer.");
    EXPECT_EQ(errors.messages[3],
              "mgExternalError: Invalid parameter for rightSide, expected valid pointer.");

    Vector4Negate(nullptr, nullptr);
    EXPECT_EQ(errors.Last(), "mgExternalError: Invalid parameter for input, expected valid pointer.");
    EXPECT_EQ(Vector3DotProduct(&a, nullptr), 0.0f);
}

TEST(VectorFunctionForms, ValidPointersReportNothing)
{
    ErrorCapture errors;
    const Vector3 a(1.0f, 2.0f, 3.0f);
    Vector3 result;
    Vector3Scale(&result, &a, 2.0f);
    Vector3Normalize(&result, &result);
    EXPECT_FALSE(errors.Fired());
    ExpectNear(result, a.GetNormalized());
    EXPECT_FLOAT_EQ(Vector3DotProduct(&a, &a), 14.0f);
}

TEST(VectorFunctionForms, CrossProductAliasingIsReportedYetComputedCorrectly)
{
    ErrorCapture errors;
    Vector3 a(1.0f, 2.0f, 3.0f);
    const Vector3 b(4.0f, 5.0f, 6.0f);
    Vector3CrossProduct(&a, &a, &b);
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(
        errors.Last(),
        "mgExternalError: Invalid parameter; expected result to be different than leftSide and rightSide");
    ExpectNear(a, {-3.0f, 6.0f, -3.0f});

    Vector3 result;
    Vector3CrossProduct(&result, &b, &b);
    EXPECT_EQ(errors.Last(),
              "mgExternalError: Invalid parameter; expected leftSide to be different from rightSide.");
    ExpectNear(result, {0.0f, 0.0f, 0.0f});
}

} // namespace
