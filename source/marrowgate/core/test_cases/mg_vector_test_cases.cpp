// The framework's test cases for the vector records and their checked function forms.

#include "marrowgate/core/test_cases/mg_math_checks.h"
#include "marrowgate/math/mg_angle.h"

using namespace Marrowgate::Core;
using mgImplementation::CheckVector;

MG_TEST_CASE(VectorConstructionTest)
{
    CheckVector(*this, Vector3(), Vector3(0.0f, 0.0f, 0.0f), "a default Vector3 is zero");
    const float values[] = {1.0f, 2.0f, 3.0f, 4.0f};
    CheckVector(*this, Vector2(values), Vector2(1.0f, 2.0f), "Vector2 from an array");
    CheckVector(*this, Vector3(values), Vector3(1.0f, 2.0f, 3.0f), "Vector3 from an array");
    CheckVector(*this, Vector4(values), Vector4(1.0f, 2.0f, 3.0f, 4.0f), "Vector4 from an array");
    Vector4 assigned;
    assigned = Vector4(values);
    CheckVector(*this, assigned, Vector4(1.0f, 2.0f, 3.0f, 4.0f), "assignment");
    const Vector3 components(5.0f, 6.0f, 7.0f);
    FailIf(components.Data()[2] != 7.0f || components[1] != 6.0f, "components are addressed by index");
    return HasPassed();
}

MG_TEST_CASE(VectorEqualityTest)
{
    FailIf(Vector3(1.0f, 2.0f, 3.0f) != Vector3(1.000005f, 2.0f, 2.999995f), "equal within Epsilon");
    FailIf(Vector3(1.0f, 2.0f, 3.0f) == Vector3(1.0f, 2.0f, 3.00002f), "the last component differs");
    FailIf(Vector2(1.0f, 2.0f) == Vector2(1.00002f, 2.0f), "the first component differs");
    FailIf(Vector4(0.0f, 0.0f, 0.0f, 1.0f) == Vector4(), "w takes part in equality");
    const Vector3 a(1.0f, 2.0f, 3.0f);
    const Vector3 b(1.0f, 2.0f, 3.0f);
    FailIf(!Vector3IsEqual(&a, &b), "the function form agrees");
    return HasPassed();
}

MG_TEST_CASE(VectorAdditionTest)
{
    const Vector3 a(1.0f, 2.0f, 3.0f);
    const Vector3 b(-4.0f, 0.5f, 10.0f);
    CheckVector(*this, a + b, Vector3(-3.0f, 2.5f, 13.0f), "a + b");
    Vector3 sum = a;
    sum += b;
    CheckVector(*this, sum, a + b, "a += b");
    Vector3 result;
    CheckVector(*this, *Vector3Add(&result, &a, &b), a + b, "Vector3Add");
    const Vector2 c(1.0f, 1.0f);
    CheckVector(*this, c + c, Vector2(2.0f, 2.0f), "Vector2 addition");
    const Vector4 d(1.0f, 2.0f, 3.0f, 4.0f);
    CheckVector(*this, d + d, Vector4(2.0f, 4.0f, 6.0f, 8.0f), "Vector4 addition");
    return HasPassed();
}

MG_TEST_CASE(VectorSubtractionTest)
{
    const Vector3 a(1.0f, 2.0f, 3.0f);
    const Vector3 b(-4.0f, 0.5f, 10.0f);
    CheckVector(*this, a - b, Vector3(5.0f, 1.5f, -7.0f), "a - b");
    Vector3 difference = a;
    difference -= b;
    CheckVector(*this, difference, a - b, "a -= b");
    Vector3 result;
    CheckVector(*this, *Vector3Subtract(&result, &a, &b), a - b, "Vector3Subtract");
    CheckVector(*this, a - a, Vector3(), "a - a is zero");
    return HasPassed();
}

MG_TEST_CASE(VectorNegateTest)
{
    const Vector3 a(1.0f, -2.0f, 0.0f);
    CheckVector(*this, -a, Vector3(-1.0f, 2.0f, 0.0f), "-a");
    CheckVector(*this, -(-a), a, "negating twice gives the vector back");
    Vector4 result;
    const Vector4 b(1.0f, 2.0f, 3.0f, 4.0f);
    CheckVector(*this, *Vector4Negate(&result, &b), Vector4(-1.0f, -2.0f, -3.0f, -4.0f), "Vector4Negate");
    return HasPassed();
}

MG_TEST_CASE(VectorScalingTest)
{
    const Vector3 a(1.0f, -2.0f, 4.0f);
    CheckVector(*this, a * 2.0f, Vector3(2.0f, -4.0f, 8.0f), "a * 2");
    CheckVector(*this, 2.0f * a, a * 2.0f, "scaling commutes");
    CheckVector(*this, a / 4.0f, Vector3(0.25f, -0.5f, 1.0f), "a / 4");
    Vector3 scaled = a;
    scaled *= 3.0f;
    scaled /= 3.0f;
    CheckVector(*this, scaled, a, "*= then /= by the same factor");
    Vector3 result;
    CheckVector(*this, *Vector3Scale(&result, &a, -1.0f), -a, "Vector3Scale by -1");
    return HasPassed();
}

MG_TEST_CASE(VectorDotProductTest)
{
    const Vector3 a(1.0f, 2.0f, 3.0f);
    const Vector3 b(4.0f, -5.0f, 6.0f);
    CheckEqual(a | b, 12.0f, "(1, 2, 3) . (4, -5, 6)");
    CheckEqual(DotProduct(a, b), DotProduct(b, a), "the dot product commutes");
    CheckEqual(Vector3(1.0f, 0.0f, 0.0f) | Vector3(0.0f, 1.0f, 0.0f), 0.0f, "perpendicular axes");
    CheckEqual(Vector3DotProduct(&a, &a), a.MagnitudeSquared(), "a . a is the squared length");
    CheckEqual(Vector4(1.0f, 1.0f, 1.0f, 1.0f) | Vector4(1.0f, 2.0f, 3.0f, 4.0f), 10.0f, "Vector4 dot");
    return HasPassed();
}

MG_TEST_CASE(VectorCrossProductTest)
{
    const Vector3 x(1.0f, 0.0f, 0.0f);
    const Vector3 y(0.0f, 1.0f, 0.0f);
    const Vector3 z(0.0f, 0.0f, 1.0f);
    CheckVector(*this, x ^ y, z, "X cross Y is Z");
    CheckVector(*this, y ^ z, x, "Y cross Z is X");
    CheckVector(*this, y ^ x, -z, "the cross product anticommutes");
    const Vector3 a(1.0f, 2.0f, 3.0f);
    const Vector3 b(4.0f, 5.0f, 6.0f);
    CheckVector(*this, CrossProduct(a, b), Vector3(-3.0f, 6.0f, -3.0f), "(1, 2, 3) x (4, 5, 6)");
    CheckEqual(CrossProduct(a, b) | a, 0.0f, "the product is perpendicular to its operands");
    Vector3 result;
    CheckVector(*this, *Vector3CrossProduct(&result, &a, &b), a ^ b, "Vector3CrossProduct");
    return HasPassed();
}

MG_TEST_CASE(VectorMagnitudeTest)
{
    CheckEqual(Vector2(3.0f, 4.0f).Magnitude(), 5.0f, "|(3, 4)|");
    CheckEqual(Vector3(2.0f, 3.0f, 6.0f).Magnitude(), 7.0f, "|(2, 3, 6)|");
    CheckEqual(Vector3(2.0f, 3.0f, 6.0f).MagnitudeSquared(), 49.0f, "|(2, 3, 6)| squared");
    CheckEqual(Vector4(1.0f, 1.0f, 1.0f, 1.0f).Magnitude(), 2.0f, "|(1, 1, 1, 1)|");
    CheckEqual(Vector3().Magnitude(), 0.0f, "the zero vector has no length");
    return HasPassed();
}

MG_TEST_CASE(VectorNormalizeTest)
{
    Vector2 v(3.0f, 4.0f);
    CheckEqual(v.Normalize(), 5.0f, "Normalize returns the old length");
    CheckVector(*this, v, Vector2(0.6f, 0.8f), "(3, 4) normalised");
    Vector3 zero;
    CheckEqual(zero.Normalize(), 0.0f, "the zero vector returns 0");
    CheckVector(*this, zero, Vector3(), "the zero vector stays zero");
    Vector2 tiny(0.00005f, 0.0f);
    tiny.Normalize();
    CheckVector(*this, tiny, Vector2(1.0f, 0.0f), "a short vector above Epsilon still normalises");
    Vector2 belowEpsilon(0.000005f, 0.0f);
    belowEpsilon.Normalize();
    CheckVector(*this, belowEpsilon, Vector2(), "a length within Epsilon gives zero");
    const Vector3 a(0.0f, -7.0f, 0.0f);
    CheckVector(*this, a.GetNormalized(), Vector3(0.0f, -1.0f, 0.0f), "GetNormalized");
    CheckVector(*this, a, Vector3(0.0f, -7.0f, 0.0f), "GetNormalized leaves the vector alone");
    return HasPassed();
}

MG_TEST_CASE(VectorSetLengthTest)
{
    Vector2 v(0.0f, 3.0f);
    v.SetLength(2.0f);
    CheckVector(*this, v, Vector2(0.0f, 2.0f), "SetLength(2) on (0, 3)");
    Vector2 shortVector(0.00005f, 0.0f);
    shortVector.SetLength(2.0f);
    CheckVector(*this, shortVector, Vector2(), "below 0.0001 SetLength gives zero");
    Vector3 w(1.0f, 1.0f, 1.0f);
    w.SetLength(3.0f);
    CheckEqual(w.Magnitude(), 3.0f, "the new length");
    CheckVector(*this, w.GetNormalized(), Vector3(1.0f, 1.0f, 1.0f).GetNormalized(), "the direction is kept");
    return HasPassed();
}

MG_TEST_CASE(VectorAngleBetweenTest)
{
    const Vector3 x(1.0f, 0.0f, 0.0f);
    CheckEqual(AngleBetween(x, -x), Pi, "X and -X are 180 degrees apart");
    CheckEqual(AngleBetween(x, Vector3(0.0f, 1.0f, 0.0f)), PiOverTwo, "X and Y are 90 degrees apart");
    CheckEqual(AngleBetween(x, Vector3()), 0.0f, "with the zero vector the angle is 0");
    CheckEqual(AngleBetween(x, x * 5.0f), 0.0f, "parallel vectors of any length");
    CheckEqual(AngleBetween(x, Vector3(1.0f, 1.0f, 0.0f)), Degrees(45).AsRadians(), "45 degrees");
    return HasPassed();
}

MG_TEST_CASE(VectorRotationTest)
{
    CheckEqual(HeadingOnXZPlane(Vector3(0.0f, 0.0f, -1.0f)), 0.0f, "-Z is heading 0");
    CheckEqual(HeadingOnXZPlane(Vector3(1.0f, 0.0f, 0.0f)), Degrees(90).AsRadians(), "+X is 90 degrees");
    CheckEqual(HeadingOnXZPlane(Vector3(0.0f, 0.0f, 1.0f)), Degrees(180).AsRadians(), "+Z is 180 degrees");
    CheckEqual(HeadingOnXZPlane(Vector3(-1.0f, 0.0f, 0.0f)), Degrees(270).AsRadians(), "-X is 270 degrees");
    CheckVector(*this, DirectionFromHeading(Degrees(270).AsRadians()), Vector3(-1.0f, 0.0f, 0.0f),
                "the direction for 270 degrees");
    const float heading = 2.5f;
    CheckEqual(HeadingOnXZPlane(DirectionFromHeading(heading)), heading,
               "heading and direction are inverses");
    return HasPassed();
}
