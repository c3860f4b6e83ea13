#pragma once
/// An angle held in radians, built from and read back as radians or degrees. Conversions
/// use the float Pi, so Degrees(180) is exactly Pi radians. @file

#include "marrowgate/math/mg_math.h"

namespace Marrowgate::Core {

class Angle
{
public:
    constexpr Angle() = default;

    static constexpr Angle FromRadians(float radians) { return Angle(radians); }
    static constexpr Angle FromDegrees(float degrees) { return Angle(degrees * Pi / 180.0f); }

    constexpr float AsRadians() const { return mRadians; }
    constexpr float AsDegrees() const { return mRadians * 180.0f / Pi; }

    friend constexpr bool operator==(Angle left, Angle right)
    {
        return IsEqual(left.mRadians, right.mRadians);
    }

private:
    explicit constexpr Angle(float radians) : mRadians(radians) {}

    float mRadians = 0.0f;
};

constexpr Angle Radians(float value)
{
    return Angle::FromRadians(value);
}

constexpr Angle Degrees(float value)
{
    return Angle::FromDegrees(value);
}

inline namespace AngleLiterals {

constexpr Angle operator""_radians(long double value)
{
    return Radians(static_cast<float>(value));
}
constexpr Angle operator""_radians(unsigned long long value)
{
    return Radians(static_cast<float>(value));
}
constexpr Angle operator""_degrees(long double value)
{
    return Degrees(static_cast<float>(value));
}
constexpr Angle operator""_degrees(unsigned long long value)
{
    return Degrees(static_cast<float>(value));
}

} // namespace AngleLiterals

} // namespace Marrowgate::Core
