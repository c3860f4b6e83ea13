// The framework's test cases for the scalar helpers and the angle type.

#include "marrowgate/core/mg_unit_test.h"
#include "marrowgate/math/mg_angle.h"
#include "marrowgate/math/mg_math.h"

using namespace Marrowgate::Core;

MG_TEST_CASE(MathIsEqualTest)
{
    FailIf(IsEqual(1.0f, 1.00002f), "1.0f and 1.00002f differ by more than Epsilon");
    FailIf(!IsEqual(1.0f, 1.000005f), "1.0f and 1.000005f lie within Epsilon");
    FailIf(IsEqual(1.0, 1.00002), "1.0 and 1.00002 differ by more than Epsilon");
    FailIf(!IsEqual(1.0, 1.000005), "1.0 and 1.000005 lie within Epsilon");
    FailIf(!IsEqual(-3.0f, -3.0f), "equal negative floats");
    FailIf(!IsEqual(7, 7) || IsEqual(7, 8), "ints compare exactly");
    return HasPassed();
}

MG_TEST_CASE(MathIsZeroTest)
{
    FailIf(IsZero(0.00002f) || IsZero(0.00002), "0.00002 is not zero");
    FailIf(!IsZero(0.000005f) || !IsZero(0.000005), "0.000005 is zero within Epsilon");
    FailIf(!IsZero(-0.000005f) || !IsZero(-0.000005), "the tolerance holds below zero too");
    FailIf(!IsZero(0) || IsZero(1), "ints are zero only at 0");
    return HasPassed();
}

MG_TEST_CASE(MathMinimumMaximumTest)
{
    FailIf(Minimum(2, 5) != 2 || Maximum(2, 5) != 5, "int minimum and maximum");
    CheckEqual(Minimum(-1.5f, 0.5f), -1.5f, "float minimum");
    CheckEqual(Maximum(-1.5f, 0.5f), 0.5f, "float maximum");
    CheckEqual(Minimum(3.25, 3.5), 3.25, "double minimum");
    CheckEqual(Maximum(3.25, 3.5), 3.5, "double maximum");
    return HasPassed();
}

MG_TEST_CASE(MathClampTest)
{
    FailIf(Clamp(5, 0, 3) != 3, "Clamp(5, 0, 3) is 3");
    FailIf(Clamp(-1, 0, 3) != 0, "Clamp(-1, 0, 3) is 0");
    FailIf(Clamp(2, 0, 3) != 2, "a value inside the range is kept");
    FailIf(Clamp(3, 0, 3) != 3 || Clamp(0, 0, 3) != 0, "the bounds themselves are kept");
    CheckEqual(Clamp(1.5f, -1.0f, 1.0f), 1.0f, "float above the range");
    CheckEqual(Clamp(-0.25, -1.0, 1.0), -0.25, "double inside the range");
    return HasPassed();
}

MG_TEST_CASE(AngleTest)
{
    CheckEqual(Radians(Pi).AsDegrees(), 180.0f, "Pi radians is 180 degrees");
    CheckEqual(Degrees(180).AsRadians(), Pi, "180 degrees is Pi radians");
    // Six decimals of a right angle are within Epsilon of it as radians, not as degrees.
    FailIf(1.570796_radians != 90_degrees, "1.570796_radians is 90 degrees");
    CheckEqual((90_degrees).AsRadians(), PiOverTwo, "90_degrees is PiOverTwo radians");
    CheckEqual(Radians(TwoPi).AsDegrees(), 360.0f, "TwoPi radians is 360 degrees");
    CheckEqual(Degrees(360.0).AsRadians(), 2.0f * Pi, "360 degrees is 2 Pi radians");
    CheckEqual(Angle().AsRadians(), 0.0f, "a default angle is zero");
    return HasPassed();
}

MG_TEST_CASE(AngleEqualityTest)
{
    FailIf(Radians(Pi) != Degrees(180), "Pi radians equals 180 degrees");
    FailIf(Radians(Pi) == Radians(PiOverTwo), "Pi differs from PiOverTwo");
    FailIf(!(Degrees(45) == 45_degrees), "an angle equals itself");
    FailIf(Radians(1.0f) != Radians(1.000005f), "angles within Epsilon are equal");
    FailIf(Radians(1.0f) == Radians(1.00002f), "angles beyond Epsilon differ");
    return HasPassed();
}
