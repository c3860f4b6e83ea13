// The framework's test cases for the quaternion.

#include "marrowgate/core/test_cases/mg_math_checks.h"

using mgImplementation::CheckQuaternion;
using namespace Marrowgate::Core::Unstable;

MG_TEST_CASE(QuaternionConstructionTest)
{
    CheckQuaternion(*this, Quaternion(), Quaternion(0.0f, 0.0f, 0.0f, 1.0f),
                    "a default quaternion is the identity");
    const float values[] = {1.0f, 2.0f, 3.0f, 4.0f};
    const Quaternion fromArray(values);
    FailIf(fromArray.x != 1.0f || fromArray.y != 2.0f || fromArray.z != 3.0f || fromArray.w != 4.0f,
           "from an array, in the order x, y, z, w");
    FailIf(fromArray[3] != 4.0f || fromArray.Data()[2] != 3.0f, "components are addressed by index");
    Quaternion assigned;
    assigned = fromArray;
    CheckQuaternion(*this, assigned, fromArray, "assignment");
    return HasPassed();
}

MG_TEST_CASE(QuaternionEqualityTest)
{
    const Quaternion q(1.0f, 2.0f, 3.0f, 4.0f);
    FailIf(q != Quaternion(1.000005f, 2.0f, 3.0f, 3.999995f), "equal within Epsilon");
    FailIf(q == Quaternion(1.0f, 2.0f, 3.0f, 4.00002f), "w differs beyond Epsilon");
    FailIf(q == Quaternion(1.00002f, 2.0f, 3.0f, 4.0f), "x differs beyond Epsilon");
    const Quaternion same = q;
    FailIf(!QuaternionIsEqual(&q, &same), "the function form agrees");
    return HasPassed();
}

MG_TEST_CASE(QuaternionAdditionTest)
{
    const Quaternion a(1.0f, 2.0f, 3.0f, 4.0f);
    const Quaternion b(0.5f, -2.0f, 1.0f, -4.0f);
    CheckQuaternion(*this, a + b, Quaternion(1.5f, 0.0f, 4.0f, 0.0f), "a + b");
    Quaternion sum = a;
    sum += b;
    CheckQuaternion(*this, sum, a + b, "a += b");
    Quaternion result;
    CheckQuaternion(*this, *QuaternionAdd(&result, &a, &b), a + b, "QuaternionAdd");
    return HasPassed();
}

MG_TEST_CASE(QuaternionSubtractionTest)
{
    const Quaternion a(1.0f, 2.0f, 3.0f, 4.0f);
    const Quaternion b(0.5f, -2.0f, 1.0f, -4.0f);
    CheckQuaternion(*this, a - b, Quaternion(0.5f, 4.0f, 2.0f, 8.0f), "a - b");
    Quaternion difference = a;
    difference -= b;
    CheckQuaternion(*this, difference, a - b, "a -= b");
    Quaternion result;
    CheckQuaternion(*this, *QuaternionSubtract(&result, &a, &b), a - b, "QuaternionSubtract");
    return HasPassed();
}

MG_TEST_CASE(QuaternionNegateTest)
{
    const Quaternion a(1.0f, -2.0f, 3.0f, -4.0f);
    CheckQuaternion(*this, -a, Quaternion(-1.0f, 2.0f, -3.0f, 4.0f), "every component, w included");
    Quaternion result;
    CheckQuaternion(*this, *QuaternionNegate(&result, &a), -a, "QuaternionNegate");
    return HasPassed();
}

MG_TEST_CASE(QuaternionScaleTest)
{
    const Quaternion a(1.0f, -2.0f, 3.0f, -4.0f);
    CheckQuaternion(*this, a * 2.0f, Quaternion(2.0f, -4.0f, 6.0f, -8.0f), "a * 2");
    CheckQuaternion(*this, 2.0f * a, a * 2.0f, "scaling commutes");
    CheckQuaternion(*this, a / 2.0f, Quaternion(0.5f, -1.0f, 1.5f, -2.0f), "a / 2");
    Quaternion scaled = a;
    scaled *= 4.0f;
    scaled /= 4.0f;
    CheckQuaternion(*this, scaled, a, "*= then /= by the same factor");
    Quaternion result;
    CheckQuaternion(*this, *QuaternionScale(&result, &a, 0.0f), Quaternion(0.0f, 0.0f, 0.0f, 0.0f),
                    "by zero");
    return HasPassed();
}

MG_TEST_CASE(QuaternionMagnitudeTest)
{
    CheckEqual(Quaternion(1.0f, 2.0f, 2.0f, 4.0f).Magnitude(), 5.0f, "|(1, 2, 2, 4)|");
    CheckEqual(Quaternion(1.0f, 2.0f, 2.0f, 4.0f).MagnitudeSquared(), 25.0f, "squared");
    CheckEqual(Quaternion().Magnitude(), 1.0f, "the identity has unit length");
    return HasPassed();
}

MG_TEST_CASE(QuaternionNormalizeTest)
{
    Quaternion q(1.0f, 2.0f, 2.0f, 4.0f);
    CheckEqual(q.Normalize(), 5.0f, "Normalize returns the old magnitude");
    CheckQuaternion(*this, q, Quaternion(0.2f, 0.4f, 0.4f, 0.8f), "divided by the magnitude");
    CheckQuaternion(*this, Quaternion(0.0f, 0.0f, 0.0f, 0.0f).GetNormalized(), Quaternion(),
                    "all zeros normalise to the identity");
    CheckQuaternion(*this, Quaternion(0.000001f, 0.0f, 0.0f, 0.0f).GetNormalized(), Quaternion(),
                    "a magnitude within Epsilon normalises to the identity");
    const Quaternion input(0.0f, 3.0f, 0.0f, 4.0f);
    Quaternion result;
    CheckQuaternion(*this, *QuaternionNormalize(&result, &input), Quaternion(0.0f, 0.6f, 0.0f, 0.8f),
                    "QuaternionNormalize");
    return HasPassed();
}

MG_TEST_CASE(QuaternionInverseTest)
{
    const Quaternion q(1.0f, -2.0f, 0.5f, 3.0f);
    CheckQuaternion(*this, q * q.GetInverse(), Quaternion(), "q times its inverse is the identity");
    CheckQuaternion(*this, q.GetInverse() * q, Quaternion(), "from either side");
    const Quaternion unit = q.GetNormalized();
    CheckQuaternion(*this, unit.GetInverse(), unit.GetConjugate(),
                    "a unit quaternion's inverse is its conjugate");
    Quaternion result;
    CheckQuaternion(*this, *QuaternionInverse(&result, &q), q.GetInverse(), "QuaternionInverse");
    // i * j = k: the Hamilton product's order matters.
    const Quaternion i(1.0f, 0.0f, 0.0f, 0.0f);
    const Quaternion j(0.0f, 1.0f, 0.0f, 0.0f);
    CheckQuaternion(*this, i * j, Quaternion(0.0f, 0.0f, 1.0f, 0.0f), "i j = k");
    CheckQuaternion(*this, j * i, Quaternion(0.0f, 0.0f, -1.0f, 0.0f), "j i = -k");
    return HasPassed();
}
