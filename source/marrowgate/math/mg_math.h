#pragma once
/// Scalar helpers and constants of the math library, and the conventions every math unit
/// and every caller relies on.
/// @file
/// Conventions (written once, here):
///  - Angles are in radians unless a name says degrees; `Angle` converts.
///  - Vectors are plain records of floats (x, y, z, w), with nothing between the components.
///  - Matrix4 holds 16 floats ROW BY ROW for COLUMN vectors: a point p maps to
///    x' = m[0]x + m[1]y + m[2]z + m[3], y' = m[4]x + ... + m[7], z' = m[8]x + ... + m[11],
///    w' = m[12]x + ... + m[15]. The translation is in m[3], m[7], m[11].
///    The accessor (i, j) addresses m[j*4 + i]. OpenGL reads column by column, so the
///    renderer transposes a matrix on its way to GL.
///  - Products: `a * b` is the transform that applies `a` FIRST and then `b`
///    (element (r, c) = sum over k of b[r*4+k] * a[k*4+c]), so model-view-projection is
///    `model * view * projection`.
///  - Rotations are right-handed: counter-clockwise when looking down the axis towards the
///    origin; 90 degrees about Y turns X into -Z.
///  - One tolerance, `Epsilon`, serves every equality, zero and too-short-to-normalise test,
///    also for doubles (the float value widened). `SetLength` alone uses 0.0001.
///
/// Depends on nothing but the standard library; no allocation, no state.

namespace Marrowgate::Core {

inline constexpr float Pi = 3.14159274f;
inline constexpr float TwoPi = 6.28318548f;
inline constexpr float PiOverTwo = 1.57079637f;
inline constexpr float Epsilon = 0.00001f;

template <typename T> constexpr T Absolute(T value)
{
    return value < T(0) ? -value : value;
}

constexpr bool IsEqual(float a, float b)
{
    return Absolute(a - b) <= Epsilon;
}
constexpr bool IsEqual(double a, double b)
{
    return Absolute(a - b) <= static_cast<double>(Epsilon);
}
constexpr bool IsEqual(int a, int b)
{
    return a == b;
}

constexpr bool IsZero(float value)
{
    return Absolute(value) <= Epsilon;
}
constexpr bool IsZero(double value)
{
    return Absolute(value) <= static_cast<double>(Epsilon);
}
constexpr bool IsZero(int value)
{
    return value == 0;
}

template <typename T> constexpr T Minimum(T a, T b)
{
    return b < a ? b : a;
}

template <typename T> constexpr T Maximum(T a, T b)
{
    return a < b ? b : a;
}

template <typename T> constexpr T Clamp(T value, T minimum, T maximum)
{
    if (value < minimum) {
        return minimum;
    }
    if (maximum < value) {
        return maximum;
    }
    return value;
}

} // namespace Marrowgate::Core
