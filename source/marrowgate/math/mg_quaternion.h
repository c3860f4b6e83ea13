#pragma once
/// Quaternion: four floats x, y, z, w (w the scalar part) with componentwise arithmetic, the
/// Hamilton product, normalisation and the inverse. Still experimental, hence the namespace
/// Marrowgate::Core::Unstable. The checked pointer forms live in mg_quaternion.cpp and report
/// under the unit name mg_quaternion.
/// @file
/// A default quaternion is the identity (0, 0, 0, 1), like a default Matrix4; normalising or
/// inverting a quaternion within Epsilon of zero also gives the identity.
/// Conventions: see mg_math.h.

#include "marrowgate/math/mg_math.h"

#include <cmath>
#include <type_traits>

namespace Marrowgate::Core::Unstable {

struct Quaternion
{
    static constexpr int kSize = 4;

    constexpr Quaternion() = default;
    constexpr Quaternion(float xValue, float yValue, float zValue, float wValue)
        : x(xValue), y(yValue), z(zValue), w(wValue)
    {}
    explicit constexpr Quaternion(const float* values)
        : x(values[0]), y(values[1]), z(values[2]), w(values[3])
    {}

    constexpr float& operator[](int index) { return index == 0 ? x : index == 1 ? y : index == 2 ? z : w; }
    constexpr float operator[](int index) const
    {
        return index == 0 ? x : index == 1 ? y : index == 2 ? z : w;
    }
    float* Data() { return &x; }
    const float* Data() const { return &x; }

    constexpr float MagnitudeSquared() const { return x * x + y * y + z * z + w * w; }
    float Magnitude() const { return std::sqrt(MagnitudeSquared()); }

    // Returns the magnitude it had.
    float Normalize()
    {
        const float magnitude = Magnitude();
        if (IsZero(magnitude)) {
            *this = Quaternion();
        } else {
            x /= magnitude;
            y /= magnitude;
            z /= magnitude;
            w /= magnitude;
        }
        return magnitude;
    }

    Quaternion GetNormalized() const
    {
        Quaternion copy = *this;
        copy.Normalize();
        return copy;
    }

    constexpr Quaternion GetConjugate() const { return {-x, -y, -z, w}; }

    // The conjugate divided by the squared magnitude, so that q * q.GetInverse() is the
    // identity.
    Quaternion GetInverse() const
    {
        if (IsZero(Magnitude())) {
            return Quaternion();
        }
        const float squared = MagnitudeSquared();
        return {-x / squared, -y / squared, -z / squared, w / squared};
    }

    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;
};

static_assert(std::is_standard_layout_v<Quaternion> && sizeof(Quaternion) == 4 * sizeof(float));

constexpr bool operator==(const Quaternion& l, const Quaternion& r)
{
    return IsEqual(l.x, r.x) && IsEqual(l.y, r.y) && IsEqual(l.z, r.z) && IsEqual(l.w, r.w);
}

constexpr Quaternion operator+(const Quaternion& l, const Quaternion& r)
{
    return {l.x + r.x, l.y + r.y, l.z + r.z, l.w + r.w};
}

constexpr Quaternion operator-(const Quaternion& l, const Quaternion& r)
{
    return {l.x - r.x, l.y - r.y, l.z - r.z, l.w - r.w};
}

constexpr Quaternion operator-(const Quaternion& q)
{
    return {-q.x, -q.y, -q.z, -q.w};
}

constexpr Quaternion operator*(const Quaternion& q, float scale)
{
    return {q.x * scale, q.y * scale, q.z * scale, q.w * scale};
}

constexpr Quaternion operator*(float scale, const Quaternion& q)
{
    return q * scale;
}

constexpr Quaternion operator/(const Quaternion& q, float divisor)
{
    return {q.x / divisor, q.y / divisor, q.z / divisor, q.w / divisor};
}

// The Hamilton product left × right.
constexpr Quaternion operator*(const Quaternion& l, const Quaternion& r)
{
    return {l.w * r.x + l.x * r.w + l.y * r.z - l.z * r.y, l.w * r.y + l.y * r.w + l.z * r.x - l.x * r.z,
            l.w * r.z + l.z * r.w + l.x * r.y - l.y * r.x, l.w * r.w - l.x * r.x - l.y * r.y - l.z * r.z};
}

constexpr Quaternion& operator+=(Quaternion& l, const Quaternion& r)
{
    return l = l + r;
}
constexpr Quaternion& operator-=(Quaternion& l, const Quaternion& r)
{
    return l = l - r;
}
constexpr Quaternion& operator*=(Quaternion& l, const Quaternion& r)
{
    return l = l * r;
}
constexpr Quaternion& operator*=(Quaternion& q, float scale)
{
    return q = q * scale;
}
constexpr Quaternion& operator/=(Quaternion& q, float divisor)
{
    return q = q / divisor;
}

// Checked pointer forms; each returns `result`. A null pointer is reported and the result
// is left as it was.
Quaternion* QuaternionAdd(Quaternion* result, const Quaternion* left, const Quaternion* right);
Quaternion* QuaternionSubtract(Quaternion* result, const Quaternion* left, const Quaternion* right);
Quaternion* QuaternionNegate(Quaternion* result, const Quaternion* input);
Quaternion* QuaternionScale(Quaternion* result, const Quaternion* input, float scale);
Quaternion* QuaternionDivide(Quaternion* result, const Quaternion* input, float divisor);
Quaternion* QuaternionNormalize(Quaternion* result, const Quaternion* input);
Quaternion* QuaternionInverse(Quaternion* result, const Quaternion* input);
// A result at one of the operands is reported; the right product is still computed.
Quaternion* QuaternionMultiply(Quaternion* result, const Quaternion* left, const Quaternion* right);
bool QuaternionIsEqual(const Quaternion* left, const Quaternion* right);

} // namespace Marrowgate::Core::Unstable
