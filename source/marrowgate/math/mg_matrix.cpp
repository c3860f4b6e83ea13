#include "marrowgate/math/mg_matrix.h"

#include "marrowgate/core/mg_error.h"

#include <cmath>

namespace Marrowgate::Core {
namespace {

constexpr char kUnitName[] = "mg_matrix";

bool CheckBasisIndex(int index)
{
    const bool valid = index >= 0 && index <= 2;
    MG_ERROR_IF(!valid, "mgExternalError: Expected basis index %d to be 0, 1 or 2.", index);
    return valid;
}

bool CheckPointers(const void* result, const void* first, const void* second)
{
    MG_ERROR_IF(result == nullptr, "mgExternalError: Invalid parameter for result, expected valid pointer.");
    MG_ERROR_IF(first == nullptr || second == nullptr,
                "mgExternalError: Invalid parameter for input, expected valid pointer.");
    return result != nullptr && first != nullptr && second != nullptr;
}

float Determinant3(float a, float b, float c, float d, float e, float f, float g, float h, float i)
{
    return a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
}

// The signed minor of element (row, column) of the array read as rows.
float Cofactor(const float* m, int row, int column)
{
    float minor[9];
    int next = 0;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            if (r != row && c != column) {
                minor[next++] = m[r * 4 + c];
            }
        }
    }
    const float determinant = Determinant3(minor[0], minor[1], minor[2], minor[3], minor[4], minor[5],
                                           minor[6], minor[7], minor[8]);
    return (row + column) % 2 == 0 ? determinant : -determinant;
}

Matrix4 Perspective(float fieldOfViewY, float aspectRatio, float nearPlane, float farPlane, float handedness)
{
    const float h = std::tan(fieldOfViewY / 2.0f);
    const float depth = farPlane - nearPlane;
    Matrix4 matrix(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                   0.0f);
    matrix.m[0] = 1.0f / (h * aspectRatio);
    matrix.m[5] = 1.0f / h;
    matrix.m[10] = handedness * (nearPlane + farPlane) / depth;
    matrix.m[11] = -2.0f * farPlane * nearPlane / depth;
    matrix.m[14] = handedness;
    return matrix;
}

Matrix4 Orthographic(float left, float right, float top, float bottom, float nearPlane, float farPlane,
                     float handedness)
{
    Matrix4 matrix(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                   1.0f);
    matrix.m[0] = 2.0f / (right - left);
    matrix.m[3] = -(right + left) / (right - left);
    matrix.m[5] = 2.0f / (top - bottom);
    matrix.m[7] = -(top + bottom) / (top - bottom);
    matrix.m[10] = handedness * 2.0f / (farPlane - nearPlane);
    matrix.m[11] = -(farPlane + nearPlane) / (farPlane - nearPlane);
    return matrix;
}

} // namespace

Vector3 Matrix4::GetBasis(int index) const
{
    if (!CheckBasisIndex(index)) {
        return {};
    }
    return {m[4 * index], m[4 * index + 1], m[4 * index + 2]};
}

void Matrix4::SetBasis(int index, const Vector3& basis)
{
    SetBasis(index, basis.x, basis.y, basis.z);
}

void Matrix4::SetBasis(int index, float x, float y, float z)
{
    if (!CheckBasisIndex(index)) {
        return;
    }
    m[4 * index] = x;
    m[4 * index + 1] = y;
    m[4 * index + 2] = z;
}

Matrix4 Matrix4::GetTransposed() const
{
    Matrix4 transposed;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            transposed.m[column * 4 + row] = m[row * 4 + column];
        }
    }
    return transposed;
}

float Matrix4::Determinant() const
{
    float sum = 0.0f;
    for (int column = 0; column < 4; ++column) {
        sum += m[column] * Cofactor(m, 0, column);
    }
    return sum;
}

Matrix4 Matrix4::ComputeInverse() const
{
    const float determinant = Determinant();
    if (IsZero(determinant)) {
        return *this;
    }
    Matrix4 inverse;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            // The adjugate is the transposed cofactor matrix.
            inverse.m[row * 4 + column] = Cofactor(m, column, row) / determinant;
        }
    }
    return inverse;
}

Matrix3 Matrix3::GetTransposed() const
{
    return {m[0], m[3], m[6], m[1], m[4], m[7], m[2], m[5], m[8]};
}

float Matrix3::Determinant() const
{
    return Determinant3(m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7], m[8]);
}

Matrix4 MatrixCreateRotationA(const Vector3& axis, float radians)
{
    const Vector3 n = axis.GetNormalized();
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    const float t = 1.0f - c;
    // clang-format off
    return {t * n.x * n.x + c,       t * n.x * n.y - s * n.z, t * n.x * n.z + s * n.y, 0.0f,
            t * n.x * n.y + s * n.z, t * n.y * n.y + c,       t * n.y * n.z - s * n.x, 0.0f,
            t * n.x * n.z - s * n.y, t * n.y * n.z + s * n.x, t * n.z * n.z + c,       0.0f,
            0.0f,                    0.0f,                    0.0f,                    1.0f};
    // clang-format on
}

Matrix4 CreateRotationX(float radians)
{
    return MatrixCreateRotationA({1.0f, 0.0f, 0.0f}, radians);
}

Matrix4 CreateRotationY(float radians)
{
    return MatrixCreateRotationA({0.0f, 1.0f, 0.0f}, radians);
}

Matrix4 CreateRotationZ(float radians)
{
    return MatrixCreateRotationA({0.0f, 0.0f, 1.0f}, radians);
}

Matrix4 CreatePerspectiveRH(float fieldOfViewY, float aspectRatio, float nearPlane, float farPlane)
{
    return Perspective(fieldOfViewY, aspectRatio, nearPlane, farPlane, -1.0f);
}

Matrix4 CreatePerspectiveLH(float fieldOfViewY, float aspectRatio, float nearPlane, float farPlane)
{
    return Perspective(fieldOfViewY, aspectRatio, nearPlane, farPlane, 1.0f);
}

Matrix4 CreateOrthoRH(float left, float right, float top, float bottom, float nearPlane, float farPlane)
{
    return Orthographic(left, right, top, bottom, nearPlane, farPlane, -1.0f);
}

Matrix4 CreateOrthoLH(float left, float right, float top, float bottom, float nearPlane, float farPlane)
{
    return Orthographic(left, right, top, bottom, nearPlane, farPlane, 1.0f);
}

Matrix4 MatrixCreateLookAt(const Vector3& eye, const Vector3& target, const Vector3& up)
{
    const Vector3 forward = (eye - target).GetNormalized();
    const Vector3 side = (up ^ forward).GetNormalized();
    const Vector3 upward = forward ^ side;
    // clang-format off
    return {side.x,    side.y,    side.z,    -(side | eye),
            upward.x,  upward.y,  upward.z,  -(upward | eye),
            forward.x, forward.y, forward.z, -(forward | eye),
            0.0f,      0.0f,      0.0f,      1.0f};
    // clang-format on
}

Matrix4* MatrixCreateLookAt(Matrix4* result, const Vector3& eye, const Vector3& target, const Vector3& up)
{
    MG_ERROR_IF(result == nullptr,
                "mgExternalError: Invalid parameter; Expected result to be valid pointer.");
    if (result != nullptr) {
        *result = MatrixCreateLookAt(eye, target, up);
    }
    return result;
}

Matrix4 FastInverse(const Matrix4& input)
{
    const float* m = input.m;
    // clang-format off
    return {m[0], m[4], m[8],  -(m[0] * m[3] + m[4] * m[7] + m[8] * m[11]),
            m[1], m[5], m[9],  -(m[1] * m[3] + m[5] * m[7] + m[9] * m[11]),
            m[2], m[6], m[10], -(m[2] * m[3] + m[6] * m[7] + m[10] * m[11]),
            0.0f, 0.0f, 0.0f,  m[15]};
    // clang-format on
}

Matrix4* MatrixMultiply(Matrix4* result, const Matrix4* leftSide, const Matrix4* rightSide)
{
    MG_ERROR_IF(
        result != nullptr && (result == leftSide || result == rightSide),
        "mgExternalError: Invalid parameter; expected result to be different than leftSide and rightSide");
    if (CheckPointers(result, leftSide, rightSide)) {
        *result = *leftSide * *rightSide;
    }
    return result;
}

Matrix4* MatrixAdd(Matrix4* result, const Matrix4* leftSide, const Matrix4* rightSide)
{
    if (CheckPointers(result, leftSide, rightSide)) {
        *result = *leftSide + *rightSide;
    }
    return result;
}

Matrix4* MatrixSubtract(Matrix4* result, const Matrix4* leftSide, const Matrix4* rightSide)
{
    if (CheckPointers(result, leftSide, rightSide)) {
        *result = *leftSide - *rightSide;
    }
    return result;
}

Matrix4* Transpose(Matrix4* result, const Matrix4* input)
{
    MG_ERROR_IF(result != nullptr && result == input,
                "mgExternalError: Invalid parameter; expected result to be different than input");
    if (CheckPointers(result, input, input)) {
        *result = input->GetTransposed();
    }
    return result;
}

Matrix4* ComputeInverse(Matrix4* result, const Matrix4* input)
{
    MG_ERROR_IF(result != nullptr && result == input,
                "mgExternalError: Invalid parameter, expected result to be different than input.");
    if (CheckPointers(result, input, input)) {
        *result = input->ComputeInverse();
    }
    return result;
}

Matrix4* FastInverse(Matrix4* result, const Matrix4* input)
{
    MG_ERROR_IF(result != nullptr && result == input,
                "mgExternalError: Invalid parameter, expected result to be different than input.");
    if (CheckPointers(result, input, input)) {
        *result = FastInverse(*input);
    }
    return result;
}

Vector3* TransformCoordinate(Vector3* result, const Vector3* inputVector, const Matrix4* matrix)
{
    MG_ERROR_IF(result != nullptr && result == inputVector,
                "mgExternalError: Invalid parameter; expected result to be different than inputVector");
    if (CheckPointers(result, inputVector, matrix)) {
        *result = TransformCoordinate(*inputVector, *matrix);
    }
    return result;
}

Vector3* TransformNormal(Vector3* result, const Vector3* inputVector, const Matrix4* matrix)
{
    MG_ERROR_IF(result != nullptr && result == inputVector,
                "mgExternalError: Invalid parameter; expected result to be different than inputVector");
    if (CheckPointers(result, inputVector, matrix)) {
        *result = TransformNormal(*inputVector, *matrix);
    }
    return result;
}

Vector4* Vector4Matrix4Multiply(Vector4* result, const Vector4* inputVector, const Matrix4* matrix)
{
    MG_ERROR_IF(result != nullptr && result == inputVector,
                "mgExternalError: Invalid parameter; expected result to be different than inputVector");
    if (CheckPointers(result, inputVector, matrix)) {
        *result = *matrix * *inputVector;
    }
    return result;
}

} // namespace Marrowgate::Core
