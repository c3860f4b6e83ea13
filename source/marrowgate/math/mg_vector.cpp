#include "marrowgate/math/mg_vector.h"

#include "marrowgate/core/mg_error.h"

namespace Marrowgate::Core {
namespace {

constexpr char kUnitName[] = "mg_vector";

bool CheckResult(const void* result)
{
    MG_ERROR_IF(result == nullptr, "mgExternalError: Invalid parameter for result, expected valid pointer.");
    return result != nullptr;
}

bool CheckInput(const void* input)
{
    MG_ERROR_IF(input == nullptr, "mgExternalError: Invalid parameter for input, expected valid pointer.");
    return input != nullptr;
}

bool CheckOperands(const void* leftSide, const void* rightSide)
{
    MG_ERROR_IF(leftSide == nullptr,
                "mgExternalError: Invalid parameter for leftSide, expected valid pointer.");
    MG_ERROR_IF(rightSide == nullptr,
                "mgExternalError: Invalid parameter for rightSide, expected valid pointer.");
    return leftSide != nullptr && rightSide != nullptr;
}

template <MathVector V, typename Operation>
V* Binary(V* result, const V* leftSide, const V* rightSide, Operation operation)
{
    // Both checks run so that every bad pointer is reported, not just the first.
    const bool resultValid = CheckResult(result);
    if (CheckOperands(leftSide, rightSide) && resultValid) {
        *result = operation(*leftSide, *rightSide);
    }
    return result;
}

template <MathVector V, typename Operation> V* Unary(V* result, const V* input, Operation operation)
{
    const bool resultValid = CheckResult(result);
    if (CheckInput(input) && resultValid) {
        *result = operation(*input);
    }
    return result;
}

template <MathVector V> V* Add(V* result, const V* leftSide, const V* rightSide)
{
    return Binary(result, leftSide, rightSide, [](const V& l, const V& r) { return l + r; });
}

template <MathVector V> V* Subtract(V* result, const V* leftSide, const V* rightSide)
{
    return Binary(result, leftSide, rightSide, [](const V& l, const V& r) { return l - r; });
}

template <MathVector V> V* Negate(V* result, const V* input)
{
    return Unary(result, input, [](const V& v) { return -v; });
}

template <MathVector V> V* Scale(V* result, const V* input, float scale)
{
    return Unary(result, input, [scale](const V& v) { return v * scale; });
}

template <MathVector V> V* Divide(V* result, const V* input, float divisor)
{
    return Unary(result, input, [divisor](const V& v) { return v / divisor; });
}

template <MathVector V> V* Normalize(V* result, const V* input)
{
    return Unary(result, input, [](const V& v) { return v.GetNormalized(); });
}

template <MathVector V> float Dot(const V* leftSide, const V* rightSide)
{
    return CheckOperands(leftSide, rightSide) ? (*leftSide | *rightSide) : 0.0f;
}

template <MathVector V> bool Equal(const V* leftSide, const V* rightSide)
{
    return CheckOperands(leftSide, rightSide) && *leftSide == *rightSide;
}

} // namespace

float AngleBetween(const Vector3& left, const Vector3& right)
{
    const float lengths = left.Magnitude() * right.Magnitude();
    if (lengths <= Epsilon) {
        return 0.0f;
    }
    // Rounding can push the quotient of parallel vectors just past ±1, where acos is NaN.
    return std::acos(Clamp((left | right) / lengths, -1.0f, 1.0f));
}

float HeadingOnXZPlane(const Vector3& direction)
{
    const float heading = std::acos(Clamp(-direction.z, -1.0f, 1.0f));
    return direction.x < 0.0f ? TwoPi - heading : heading;
}

Vector3 DirectionFromHeading(float heading)
{
    return {std::sin(heading), 0.0f, -std::cos(heading)};
}

Vector2* Vector2Add(Vector2* result, const Vector2* leftSide, const Vector2* rightSide)
{
    return Add(result, leftSide, rightSide);
}
Vector3* Vector3Add(Vector3* result, const Vector3* leftSide, const Vector3* rightSide)
{
    return Add(result, leftSide, rightSide);
}
Vector4* Vector4Add(Vector4* result, const Vector4* leftSide, const Vector4* rightSide)
{
    return Add(result, leftSide, rightSide);
}

Vector2* Vector2Subtract(Vector2* result, const Vector2* leftSide, const Vector2* rightSide)
{
    return Subtract(result, leftSide, rightSide);
}
Vector3* Vector3Subtract(Vector3* result, const Vector3* leftSide, const Vector3* rightSide)
{
    return Subtract(result, leftSide, rightSide);
}
Vector4* Vector4Subtract(Vector4* result, const Vector4* leftSide, const Vector4* rightSide)
{
    return Subtract(result, leftSide, rightSide);
}

Vector2* Vector2Negate(Vector2* result, const Vector2* input)
{
    return Negate(result, input);
}
Vector3* Vector3Negate(Vector3* result, const Vector3* input)
{
    return Negate(result, input);
}
Vector4* Vector4Negate(Vector4* result, const Vector4* input)
{
    return Negate(result, input);
}

Vector2* Vector2Scale(Vector2* result, const Vector2* input, float scale)
{
    return Scale(result, input, scale);
}
Vector3* Vector3Scale(Vector3* result, const Vector3* input, float scale)
{
    return Scale(result, input, scale);
}
Vector4* Vector4Scale(Vector4* result, const Vector4* input, float scale)
{
    return Scale(result, input, scale);
}

Vector2* Vector2Divide(Vector2* result, const Vector2* input, float divisor)
{
    return Divide(result, input, divisor);
}
Vector3* Vector3Divide(Vector3* result, const Vector3* input, float divisor)
{
    return Divide(result, input, divisor);
}
Vector4* Vector4Divide(Vector4* result, const Vector4* input, float divisor)
{
    return Divide(result, input, divisor);
}

Vector2* Vector2Normalize(Vector2* result, const Vector2* input)
{
    return Normalize(result, input);
}
Vector3* Vector3Normalize(Vector3* result, const Vector3* input)
{
    return Normalize(result, input);
}
Vector4* Vector4Normalize(Vector4* result, const Vector4* input)
{
    return Normalize(result, input);
}

float Vector2DotProduct(const Vector2* leftSide, const Vector2* rightSide)
{
    return Dot(leftSide, rightSide);
}
float Vector3DotProduct(const Vector3* leftSide, const Vector3* rightSide)
{
    return Dot(leftSide, rightSide);
}
float Vector4DotProduct(const Vector4* leftSide, const Vector4* rightSide)
{
    return Dot(leftSide, rightSide);
}

bool Vector2IsEqual(const Vector2* leftSide, const Vector2* rightSide)
{
    return Equal(leftSide, rightSide);
}
bool Vector3IsEqual(const Vector3* leftSide, const Vector3* rightSide)
{
    return Equal(leftSide, rightSide);
}
bool Vector4IsEqual(const Vector4* leftSide, const Vector4* rightSide)
{
    return Equal(leftSide, rightSide);
}

Vector3* Vector3CrossProduct(Vector3* result, const Vector3* leftSide, const Vector3* rightSide)
{
    MG_ERROR_IF(leftSide != nullptr && leftSide == rightSide,
                "mgExternalError: Invalid parameter; expected leftSide to be different from rightSide.");
    MG_ERROR_IF(
        result != nullptr && (result == leftSide || result == rightSide),
        "mgExternalError: Invalid parameter; expected result to be different than leftSide and rightSide");
    // Binary computes into a temporary first, so an aliased result still gets the right value.
    return Binary(result, leftSide, rightSide, [](const Vector3& l, const Vector3& r) { return l ^ r; });
}

} // namespace Marrowgate::Core
