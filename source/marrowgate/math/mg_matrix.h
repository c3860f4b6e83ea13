#pragma once
/// Matrix3 and Matrix4: the transforms, projections, products and inverses of the math
/// library, and the transformation of vectors. Layout and product order are fixed in
/// mg_math.h: row by row for column vectors, translation in m[3], m[7], m[11], and `a * b`
/// applies `a` first.
/// @file
/// The values and their cheap operations are inline here; the builders, inverses and the
/// checked pointer forms live in mg_matrix.cpp and report under the unit name mg_matrix.
/// Projection builders do not guard against degenerate planes (near == far, zero aspect).

#include "marrowgate/math/mg_angle.h"
#include "marrowgate/math/mg_math.h"
#include "marrowgate/math/mg_vector.h"

namespace Marrowgate::Core {

struct Matrix4
{
    static constexpr int kSize = 16;

    // The identity.
    constexpr Matrix4() : m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1} {}
    constexpr Matrix4(float m0, float m1, float m2, float m3, float m4, float m5, float m6, float m7,
                      float m8, float m9, float m10, float m11, float m12, float m13, float m14, float m15)
        : m{m0, m1, m2, m3, m4, m5, m6, m7, m8, m9, m10, m11, m12, m13, m14, m15}
    {}
    explicit constexpr Matrix4(const float* values) : m{}
    {
        for (int i = 0; i < kSize; ++i) {
            m[i] = values[i];
        }
    }

    // (i, j) addresses m[j*4 + i]: i picks the column, j the row of the array.
    constexpr float& operator()(int i, int j) { return m[j * 4 + i]; }
    constexpr float operator()(int i, int j) const { return m[j * 4 + i]; }
    constexpr float& operator[](int index) { return m[index]; }
    constexpr float operator[](int index) const { return m[index]; }
    float* Data() { return m; }
    const float* Data() const { return m; }

    constexpr Vector3 GetPosition() const { return {m[3], m[7], m[11]}; }
    constexpr void SetPosition(const Vector3& position) { SetPosition(position.x, position.y, position.z); }
    constexpr void SetPosition(float x, float y, float z)
    {
        m[3] = x;
        m[7] = y;
        m[11] = z;
    }

    // Array row `index` (0, 1 or 2) without its translation element. Another index is
    // reported; GetBasis then gives the zero vector and SetBasis changes nothing.
    Vector3 GetBasis(int index) const;
    void SetBasis(int index, const Vector3& basis);
    void SetBasis(int index, float x, float y, float z);

    Matrix4 GetTransposed() const;
    float Determinant() const;
    // The general inverse; a matrix whose determinant is within Epsilon of zero comes back
    // unchanged.
    Matrix4 ComputeInverse() const;

    float m[16];
};

struct Matrix3
{
    static constexpr int kSize = 9;

    constexpr Matrix3() : m{1, 0, 0, 0, 1, 0, 0, 0, 1} {}
    constexpr Matrix3(float m0, float m1, float m2, float m3, float m4, float m5, float m6, float m7,
                      float m8)
        : m{m0, m1, m2, m3, m4, m5, m6, m7, m8}
    {}
    explicit constexpr Matrix3(const float* values) : m{}
    {
        for (int i = 0; i < kSize; ++i) {
            m[i] = values[i];
        }
    }

    constexpr float& operator()(int i, int j) { return m[j * 3 + i]; }
    constexpr float operator()(int i, int j) const { return m[j * 3 + i]; }
    constexpr float& operator[](int index) { return m[index]; }
    constexpr float operator[](int index) const { return m[index]; }
    float* Data() { return m; }
    const float* Data() const { return m; }

    Matrix3 GetTransposed() const;
    float Determinant() const;

    float m[9];
};

template <typename T>
concept MathMatrix = std::same_as<T, Matrix3> || std::same_as<T, Matrix4>;

// Elementwise operators, one definition for both sizes.

template <MathMatrix M> constexpr bool operator==(const M& left, const M& right)
{
    for (int i = 0; i < M::kSize; ++i) {
        if (!IsEqual(left.m[i], right.m[i])) {
            return false;
        }
    }
    return true;
}

template <MathMatrix M> constexpr M& operator+=(M& left, const M& right)
{
    for (int i = 0; i < M::kSize; ++i) {
        left.m[i] += right.m[i];
    }
    return left;
}

template <MathMatrix M> constexpr M& operator-=(M& left, const M& right)
{
    for (int i = 0; i < M::kSize; ++i) {
        left.m[i] -= right.m[i];
    }
    return left;
}

template <MathMatrix M> constexpr M operator+(M left, const M& right)
{
    return left += right;
}

template <MathMatrix M> constexpr M operator-(M left, const M& right)
{
    return left -= right;
}

// The transform that applies `first`, then `second`.
template <MathMatrix M> constexpr M operator*(const M& first, const M& second)
{
    constexpr int order = M::kSize == 16 ? 4 : 3;
    M product;
    for (int row = 0; row < order; ++row) {
        for (int column = 0; column < order; ++column) {
            float sum = 0.0f;
            for (int k = 0; k < order; ++k) {
                sum += second.m[row * order + k] * first.m[k * order + column];
            }
            product.m[row * order + column] = sum;
        }
    }
    return product;
}

template <MathMatrix M> constexpr M& operator*=(M& first, const M& second)
{
    return first = first * second;
}

// All four rows applied to (x, y, z, w).
constexpr Vector4 operator*(const Matrix4& matrix, const Vector4& vector)
{
    Vector4 out;
    for (int row = 0; row < 4; ++row) {
        out[row] = matrix.m[row * 4] * vector.x + matrix.m[row * 4 + 1] * vector.y +
                   matrix.m[row * 4 + 2] * vector.z + matrix.m[row * 4 + 3] * vector.w;
    }
    return out;
}

// A point: the first three rows with the translation, no division by w.
constexpr Vector3 TransformCoordinate(const Vector3& input, const Matrix4& matrix)
{
    const float* m = matrix.m;
    return {m[0] * input.x + m[1] * input.y + m[2] * input.z + m[3],
            m[4] * input.x + m[5] * input.y + m[6] * input.z + m[7],
            m[8] * input.x + m[9] * input.y + m[10] * input.z + m[11]};
}

// A direction: the first three rows without the translation.
constexpr Vector3 TransformNormal(const Vector3& input, const Matrix4& matrix)
{
    const float* m = matrix.m;
    return {m[0] * input.x + m[1] * input.y + m[2] * input.z,
            m[4] * input.x + m[5] * input.y + m[6] * input.z,
            m[8] * input.x + m[9] * input.y + m[10] * input.z};
}

// Builders.

constexpr Matrix4 MatrixCreateIdentity()
{
    return Matrix4();
}

constexpr Matrix4 MatrixCreateTranslation(float x, float y, float z)
{
    Matrix4 matrix;
    matrix.SetPosition(x, y, z);
    return matrix;
}

constexpr Matrix4 MatrixCreateTranslation(const Vector3& offset)
{
    return MatrixCreateTranslation(offset.x, offset.y, offset.z);
}

constexpr Matrix4 MatrixCreateScale(float x, float y, float z)
{
    Matrix4 matrix;
    matrix.m[0] = x;
    matrix.m[5] = y;
    matrix.m[10] = z;
    return matrix;
}

constexpr Matrix4 MatrixCreateScale(const Vector3& scale)
{
    return MatrixCreateScale(scale.x, scale.y, scale.z);
}

// Rotation by `radians` about `axis`, which is normalised first (a zero axis gives a
// matrix that keeps only the cosine on the diagonal).
Matrix4 MatrixCreateRotationA(const Vector3& axis, float radians);
Matrix4 CreateRotationX(float radians);
Matrix4 CreateRotationY(float radians);
Matrix4 CreateRotationZ(float radians);

inline Matrix4 MatrixCreateRotationA(const Vector3& axis, Angle angle)
{
    return MatrixCreateRotationA(axis, angle.AsRadians());
}
inline Matrix4 CreateRotationX(Angle angle)
{
    return CreateRotationX(angle.AsRadians());
}
inline Matrix4 CreateRotationY(Angle angle)
{
    return CreateRotationY(angle.AsRadians());
}
inline Matrix4 CreateRotationZ(Angle angle)
{
    return CreateRotationZ(angle.AsRadians());
}

// Projections for OpenGL's clip space (depth -1 at the near plane, +1 at the far plane).
Matrix4 CreatePerspectiveRH(float fieldOfViewY, float aspectRatio, float nearPlane, float farPlane);
Matrix4 CreatePerspectiveLH(float fieldOfViewY, float aspectRatio, float nearPlane, float farPlane);
Matrix4 CreateOrthoRH(float left, float right, float top, float bottom, float nearPlane, float farPlane);
Matrix4 CreateOrthoLH(float left, float right, float top, float bottom, float nearPlane, float farPlane);

inline Matrix4 CreatePerspectiveRH(Angle fieldOfViewY, float aspectRatio, float nearPlane, float farPlane)
{
    return CreatePerspectiveRH(fieldOfViewY.AsRadians(), aspectRatio, nearPlane, farPlane);
}
inline Matrix4 CreatePerspectiveLH(Angle fieldOfViewY, float aspectRatio, float nearPlane, float farPlane)
{
    return CreatePerspectiveLH(fieldOfViewY.AsRadians(), aspectRatio, nearPlane, farPlane);
}

// A right-handed view matrix looking from `eye` at `target`. A null result is reported.
Matrix4* MatrixCreateLookAt(Matrix4* result, const Vector3& eye, const Vector3& target, const Vector3& up);
Matrix4 MatrixCreateLookAt(const Vector3& eye, const Vector3& target, const Vector3& up);

// The inverse of a rotation-plus-translation matrix, by transposing the rotation. Wrong for
// matrices with scale or projection; use ComputeInverse for those.
Matrix4 FastInverse(const Matrix4& input);

// Checked pointer forms; each returns `result`. A null pointer is reported and the result
// is left as it was. A result that aliases an input is reported too, and the right value
// is still computed.

Matrix4* MatrixMultiply(Matrix4* result, const Matrix4* leftSide, const Matrix4* rightSide);
Matrix4* MatrixAdd(Matrix4* result, const Matrix4* leftSide, const Matrix4* rightSide);
Matrix4* MatrixSubtract(Matrix4* result, const Matrix4* leftSide, const Matrix4* rightSide);
Matrix4* Transpose(Matrix4* result, const Matrix4* input);
Matrix4* ComputeInverse(Matrix4* result, const Matrix4* input);
Matrix4* FastInverse(Matrix4* result, const Matrix4* input);

Vector3* TransformCoordinate(Vector3* result, const Vector3* inputVector, const Matrix4* matrix);
Vector3* TransformNormal(Vector3* result, const Vector3* inputVector, const Matrix4* matrix);
Vector4* Vector4Matrix4Multiply(Vector4* result, const Vector4* inputVector, const Matrix4* matrix);

} // namespace Marrowgate::Core
