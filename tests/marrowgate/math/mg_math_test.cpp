#include "marrowgate/math/mg_angle.h"
#include "marrowgate/math/mg_math.h"

#include <gtest/gtest.h>

namespace {

using namespace Marrowgate::Core;

TEST(ScalarTolerance, EqualityHoldsUpToEpsilonAndNoFurther)
{
    EXPECT_FALSE(IsEqual(1.0f, 1.00002f));
    EXPECT_TRUE(IsEqual(1.0f, 1.000005f));
    EXPECT_TRUE(IsEqual(-2.0f, -2.000005f));
    EXPECT_FALSE(IsEqual(1.0, 1.00002));
    EXPECT_TRUE(IsEqual(1.0, 1.000005));
    EXPECT_FALSE(IsEqual(3, 4));
}

TEST(ScalarTolerance, ZeroTestIsTheSameForFloatsAndDoubles)
{
    EXPECT_FALSE(IsZero(0.00002f));
    EXPECT_FALSE(IsZero(0.00002));
    EXPECT_TRUE(IsZero(0.000005f));
    EXPECT_TRUE(IsZero(0.000005));
    EXPECT_TRUE(IsZero(-0.000005f));
    // Doubles use the float tolerance widened, not a decimal 0.00001.
    EXPECT_TRUE(IsZero(static_cast<double>(Epsilon)));
    EXPECT_TRUE(IsZero(0));
    EXPECT_FALSE(IsZero(-1));
}

TEST(ScalarHelpers, ClampKeepsValuesInsideAndBoundsOutside)
{
    EXPECT_EQ(Clamp(5, 0, 3), 3);
    EXPECT_EQ(Clamp(-1, 0, 3), 0);
    EXPECT_EQ(Clamp(2, 0, 3), 2);
    EXPECT_FLOAT_EQ(Clamp(-1.5f, -1.0f, 1.0f), -1.0f);
    EXPECT_EQ(Minimum(4.0, -4.0), -4.0);
    EXPECT_EQ(Maximum(4, -4), 4);
}

TEST(AngleConversion, DegreesAndRadiansRoundTripThroughTheFloatPi)
{
    EXPECT_FLOAT_EQ(Radians(Pi).AsDegrees(), 180.0f);
    EXPECT_FLOAT_EQ(Degrees(180).AsRadians(), Pi);
    EXPECT_FLOAT_EQ((90_degrees).AsRadians(), PiOverTwo);
    EXPECT_FLOAT_EQ(Degrees(360.0).AsRadians(), 2.0f * Pi);
    EXPECT_FLOAT_EQ(Radians(TwoPi).AsDegrees(), 360.0f);
    EXPECT_EQ(1.570796_radians, 90_degrees);
    EXPECT_EQ(Radians(Pi), 180_degrees);
    EXPECT_NE(Radians(Pi), Radians(PiOverTwo));
}

} // namespace
