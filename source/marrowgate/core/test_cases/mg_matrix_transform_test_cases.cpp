// The framework's test cases for the general inverse and for transforming vectors by a
// Matrix4.

#include "marrowgate/core/test_cases/mg_math_checks.h"

using namespace Marrowgate::Core;
using mgImplementation::CheckMatrix;
using mgImplementation::CheckVector;

MG_TEST_CASE(MatrixInverseTest)
{
    const Matrix4 general(2, 0, 1, 0, 0, 1, 0, 3, 1, 0, 0, 0, 0, 2, 0, 1);
    const Matrix4 inverse = general.ComputeInverse();
    CheckMatrix(*this, general * inverse, Matrix4(), "M * inverse(M)");
    CheckMatrix(*this, inverse * general, Matrix4(), "inverse(M) * M");
    Matrix4 result;
    CheckMatrix(*this, *ComputeInverse(&result, &general), inverse, "the function form");

    const Matrix4 zero(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    CheckMatrix(*this, zero.ComputeInverse(), zero, "a singular matrix comes back unchanged");
    const Matrix4 flat = MatrixCreateScale(1.0f, 1.0f, 0.000001f);
    CheckMatrix(*this, flat.ComputeInverse(), flat, "a determinant within Epsilon counts as singular");

    Matrix4 rigid = CreateRotationX(0.3f) * CreateRotationY(-1.1f);
    rigid.SetPosition(4.0f, -5.0f, 6.0f);
    CheckMatrix(*this, rigid.ComputeInverse(), FastInverse(rigid),
                "for a rigid motion it equals FastInverse");
    return HasPassed();
}

MG_TEST_CASE(VectorMatrixTransformCoordinateTest)
{
    const Matrix4 matrix(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    const Vector3 input(1.0f, -1.0f, 2.0f);
    // x' = 1 - 2 + 6 + 4, y' = 5 - 6 + 14 + 8, z' = 9 - 10 + 22 + 12; the last row is ignored.
    CheckVector(*this, TransformCoordinate(input, matrix), Vector3(9.0f, 21.0f, 33.0f),
                "rows 0 to 2 with m[3]");
    CheckVector(*this, TransformCoordinate(Vector3(), matrix), matrix.GetPosition(),
                "the origin maps to the position");
    Vector3 result;
    CheckVector(*this, *TransformCoordinate(&result, &input, &matrix), Vector3(9.0f, 21.0f, 33.0f),
                "the function form");
    return HasPassed();
}

MG_TEST_CASE(VectorMatrixTransformNormalTest)
{
    const Matrix4 matrix(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    const Vector3 input(1.0f, -1.0f, 2.0f);
    CheckVector(*this, TransformNormal(input, matrix), Vector3(5.0f, 13.0f, 21.0f),
                "the translation is ignored");
    CheckVector(*this, TransformNormal(Vector3(), matrix), Vector3(), "the zero direction stays zero");
    Vector3 result;
    CheckVector(*this, *TransformNormal(&result, &input, &matrix), Vector3(5.0f, 13.0f, 21.0f),
                "the function form");
    return HasPassed();
}

MG_TEST_CASE(Vector4MatrixMultiplyTest)
{
    const Matrix4 matrix(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    const Vector4 point(1.0f, -1.0f, 2.0f, 1.0f);
    CheckVector(*this, matrix * point, Vector4(9.0f, 21.0f, 33.0f, 45.0f), "all four rows with w = 1");
    const Vector4 direction(1.0f, -1.0f, 2.0f, 0.0f);
    CheckVector(*this, matrix * direction, Vector4(5.0f, 13.0f, 21.0f, 29.0f), "w = 0 drops the last column");
    Vector4 result;
    CheckVector(*this, *Vector4Matrix4Multiply(&result, &point, &matrix), matrix * point,
                "the function form");
    return HasPassed();
}
