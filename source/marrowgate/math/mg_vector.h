#pragma once
/// Vector2, Vector3 and Vector4: plain records of floats with the arithmetic the rest of the
/// program computes with, plus checked function forms (`Vector3Add(result, left, right)`)
/// for callers that work through pointers. The function forms report bad pointers through
/// the error facility under the unit name mg_vector and then leave the result untouched.
/// @file
/// Operator symbols: `|` is the dot product and `^` the cross product. Mind that both bind
/// more loosely than `+` and `==`; parenthesise them.
/// Conventions: see mg_math.h.

#include "marrowgate/math/mg_math.h"

#include <cmath>
#include <concepts>
#include <type_traits>

namespace Marrowgate::Core {

struct Vector2;
struct Vector3;
struct Vector4;

template <typename T>
concept MathVector = std::same_as<T, Vector2> || std::same_as<T, Vector3> || std::same_as<T, Vector4>;

// Length operations shared by the three vector records.
template <typename Derived> class VectorLength
{
public:
    constexpr float MagnitudeSquared() const { return Self() | Self(); }
    float Magnitude() const { return std::sqrt(MagnitudeSquared()); }

    // Returns the length the vector had; a length within Epsilon of zero zeroes the vector.
    float Normalize()
    {
        const float length = Magnitude();
        if (IsZero(length)) {
            Self() = Derived();
        } else {
            Self() /= length;
        }
        return length;
    }

    Derived GetNormalized() const
    {
        Derived copy = Self();
        copy.Normalize();
        return copy;
    }

    // SetLength has its own, coarser threshold: scaling a very short vector up would turn
    // rounding noise into a direction.
    void SetLength(float length)
    {
        const float current = Magnitude();
        if (current < 0.0001f) {
            Self() = Derived();
            return;
        }
        for (int i = 0; i < Derived::kSize; ++i) {
            Self()[i] = Self()[i] / current * length;
        }
    }

private:
    constexpr Derived& Self() { return static_cast<Derived&>(*this); }
    constexpr const Derived& Self() const { return static_cast<const Derived&>(*this); }
};

struct Vector2 : VectorLength<Vector2>
{
    static constexpr int kSize = 2;

    constexpr Vector2() = default;
    constexpr Vector2(float xValue, float yValue) : x(xValue), y(yValue) {}
    explicit constexpr Vector2(const float* values) : x(values[0]), y(values[1]) {}

    constexpr float& operator[](int index) { return index == 0 ? x : y; }
    constexpr float operator[](int index) const { return index == 0 ? x : y; }
    // The components as a float array, for APIs that read consecutive floats.
    float* Data() { return &x; }
    const float* Data() const { return &x; }

    float x = 0.0f;
    float y = 0.0f;
};

struct Vector3 : VectorLength<Vector3>
{
    static constexpr int kSize = 3;

    constexpr Vector3() = default;
    constexpr Vector3(float xValue, float yValue, float zValue) : x(xValue), y(yValue), z(zValue) {}
    explicit constexpr Vector3(const float* values) : x(values[0]), y(values[1]), z(values[2]) {}

    constexpr float& operator[](int index) { return index == 0 ? x : index == 1 ? y : z; }
    constexpr float operator[](int index) const { return index == 0 ? x : index == 1 ? y : z; }
    float* Data() { return &x; }
    const float* Data() const { return &x; }

    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

struct Vector4 : VectorLength<Vector4>
{
    static constexpr int kSize = 4;

    constexpr Vector4() = default;
    constexpr Vector4(float xValue, float yValue, float zValue, float wValue)
        : x(xValue), y(yValue), z(zValue), w(wValue)
    {}
    explicit constexpr Vector4(const float* values) : x(values[0]), y(values[1]), z(values[2]), w(values[3])
    {}

    constexpr float& operator[](int index) { return index == 0 ? x : index == 1 ? y : index == 2 ? z : w; }
    constexpr float operator[](int index) const
    {
        return index == 0 ? x : index == 1 ? y : index == 2 ? z : w;
    }
    float* Data() { return &x; }
    const float* Data() const { return &x; }

    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;
};

static_assert(std::is_standard_layout_v<Vector2> && sizeof(Vector2) == 2 * sizeof(float));
static_assert(std::is_standard_layout_v<Vector3> && sizeof(Vector3) == 3 * sizeof(float));
static_assert(std::is_standard_layout_v<Vector4> && sizeof(Vector4) == 4 * sizeof(float));

// Componentwise operators, one definition for all three records.

template <MathVector V> constexpr bool operator==(const V& left, const V& right)
{
    for (int i = 0; i < V::kSize; ++i) {
        if (!IsEqual(left[i], right[i])) {
            return false;
        }
    }
    return true;
}

template <MathVector V> constexpr V& operator+=(V& left, const V& right)
{
    for (int i = 0; i < V::kSize; ++i) {
        left[i] += right[i];
    }
    return left;
}

template <MathVector V> constexpr V& operator-=(V& left, const V& right)
{
    for (int i = 0; i < V::kSize; ++i) {
        left[i] -= right[i];
    }
    return left;
}

template <MathVector V> constexpr V& operator*=(V& vector, float scale)
{
    for (int i = 0; i < V::kSize; ++i) {
        vector[i] *= scale;
    }
    return vector;
}

template <MathVector V> constexpr V& operator/=(V& vector, float divisor)
{
    for (int i = 0; i < V::kSize; ++i) {
        vector[i] /= divisor;
    }
    return vector;
}

template <MathVector V> constexpr V operator+(V left, const V& right)
{
    return left += right;
}

template <MathVector V> constexpr V operator-(V left, const V& right)
{
    return left -= right;
}

template <MathVector V> constexpr V operator-(V vector)
{
    for (int i = 0; i < V::kSize; ++i) {
        vector[i] = -vector[i];
    }
    return vector;
}

template <MathVector V> constexpr V operator*(V vector, float scale)
{
    return vector *= scale;
}

template <MathVector V> constexpr V operator*(float scale, V vector)
{
    return vector *= scale;
}

template <MathVector V> constexpr V operator/(V vector, float divisor)
{
    return vector /= divisor;
}

// Dot product.
template <MathVector V> constexpr float operator|(const V& left, const V& right)
{
    float sum = 0.0f;
    for (int i = 0; i < V::kSize; ++i) {
        sum += left[i] * right[i];
    }
    return sum;
}

template <MathVector V> constexpr float DotProduct(const V& left, const V& right)
{
    return left | right;
}

// Cross product (Vector3 only), left operand first.
constexpr Vector3 operator^(const Vector3& l, const Vector3& r)
{
    return {l.y * r.z - l.z * r.y, l.z * r.x - l.x * r.z, l.x * r.y - l.y * r.x};
}

constexpr Vector3 CrossProduct(const Vector3& left, const Vector3& right)
{
    return left ^ right;
}

// The angle between two directions in radians, 0 when either is (nearly) zero.
float AngleBetween(const Vector3& left, const Vector3& right);

// Heading of a unit direction on the XZ plane in radians, measured from -Z turning towards
// +X: -Z is 0, +X is PiOverTwo, +Z is Pi, -X is 3 PiOverTwo.
float HeadingOnXZPlane(const Vector3& direction);

// The unit direction on the XZ plane for a heading in radians; inverse of HeadingOnXZPlane.
Vector3 DirectionFromHeading(float heading);

// Checked function forms: each returns `result`. A null pointer is reported and the result
// is left as it was.

Vector2* Vector2Add(Vector2* result, const Vector2* leftSide, const Vector2* rightSide);
Vector3* Vector3Add(Vector3* result, const Vector3* leftSide, const Vector3* rightSide);
Vector4* Vector4Add(Vector4* result, const Vector4* leftSide, const Vector4* rightSide);

Vector2* Vector2Subtract(Vector2* result, const Vector2* leftSide, const Vector2* rightSide);
Vector3* Vector3Subtract(Vector3* result, const Vector3* leftSide, const Vector3* rightSide);
Vector4* Vector4Subtract(Vector4* result, const Vector4* leftSide, const Vector4* rightSide);

Vector2* Vector2Negate(Vector2* result, const Vector2* input);
Vector3* Vector3Negate(Vector3* result, const Vector3* input);
Vector4* Vector4Negate(Vector4* result, const Vector4* input);

Vector2* Vector2Scale(Vector2* result, const Vector2* input, float scale);
Vector3* Vector3Scale(Vector3* result, const Vector3* input, float scale);
Vector4* Vector4Scale(Vector4* result, const Vector4* input, float scale);

Vector2* Vector2Divide(Vector2* result, const Vector2* input, float divisor);
Vector3* Vector3Divide(Vector3* result, const Vector3* input, float divisor);
Vector4* Vector4Divide(Vector4* result, const Vector4* input, float divisor);

Vector2* Vector2Normalize(Vector2* result, const Vector2* input);
Vector3* Vector3Normalize(Vector3* result, const Vector3* input);
Vector4* Vector4Normalize(Vector4* result, const Vector4* input);

// A null operand gives 0 (after the report); equality with a null operand is false.
float Vector2DotProduct(const Vector2* leftSide, const Vector2* rightSide);
float Vector3DotProduct(const Vector3* leftSide, const Vector3* rightSide);
float Vector4DotProduct(const Vector4* leftSide, const Vector4* rightSide);

bool Vector2IsEqual(const Vector2* leftSide, const Vector2* rightSide);
bool Vector3IsEqual(const Vector3* leftSide, const Vector3* rightSide);
bool Vector4IsEqual(const Vector4* leftSide, const Vector4* rightSide);

// Reports a result that is one of the operands, and the same vector as both operands, but
// still computes the right product: the caller's check failed, not the arithmetic.
Vector3* Vector3CrossProduct(Vector3* result, const Vector3* leftSide, const Vector3* rightSide);

} // namespace Marrowgate::Core
