// The framework's test cases for Matrix4: construction, element layout, products, inverses
// and the transformation of vectors.

#include "marrowgate/core/test_cases/mg_math_checks.h"

using namespace Marrowgate::Core;
using mgImplementation::CheckMatrix;
using mgImplementation::CheckVector;

namespace {

// 1 to 16 in array order: distinct elements make layout mistakes visible.
constexpr Matrix4 kCounting(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
constexpr Matrix4 kZero(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);

} // namespace

MG_TEST_CASE(MatrixConstructionTest)
{
    const Matrix4 identity;
    CheckMatrix(*this, identity, Matrix4(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1),
                "default is identity");
    float values[16];
    for (int i = 0; i < 16; ++i) {
        values[i] = static_cast<float>(i + 1);
    }
    CheckMatrix(*this, Matrix4(values), kCounting, "from an array, in array order");
    Matrix4 assigned;
    assigned = kCounting;
    CheckMatrix(*this, assigned, kCounting, "assignment");
    CheckEqual(kCounting(3, 0), 4.0f, "(3, 0) is m[3]");
    CheckEqual(kCounting(0, 3), 13.0f, "(0, 3) is m[12]");
    CheckEqual(kCounting(3, 3), 16.0f, "(3, 3) is m[15]");
    return HasPassed();
}

MG_TEST_CASE(MatrixCreateIdentityTest)
{
    const Matrix4 identity = MatrixCreateIdentity();
    for (int i = 0; i < 16; ++i) {
        CheckEqual(identity.m[i], i % 5 == 0 ? 1.0f : 0.0f, "identity element %d", i);
    }
    CheckMatrix(*this, kCounting * identity, kCounting, "M * I");
    CheckMatrix(*this, identity * kCounting, kCounting, "I * M");
    return HasPassed();
}

MG_TEST_CASE(MatrixEqualityTest)
{
    Matrix4 nearly = kCounting;
    nearly.m[7] += 0.000005f;
    FailIf(nearly != kCounting, "a difference within Epsilon is equal");
    nearly.m[7] += 0.00002f;
    FailIf(nearly == kCounting, "a difference beyond Epsilon is not");
    Matrix4 lastElement = kCounting;
    lastElement.m[15] = 0.0f;
    FailIf(lastElement == kCounting, "the last element takes part");
    return HasPassed();
}

MG_TEST_CASE(MatrixAdditionTest)
{
    Matrix4 doubled = kCounting + kCounting;
    for (int i = 0; i < 16; ++i) {
        CheckEqual(doubled.m[i], 2.0f * static_cast<float>(i + 1), "element %d of M + M", i);
    }
    Matrix4 accumulated = kCounting;
    accumulated += kCounting;
    CheckMatrix(*this, accumulated, doubled, "M += M");
    Matrix4 result;
    CheckMatrix(*this, *MatrixAdd(&result, &kCounting, &kZero), kCounting, "M + 0 through MatrixAdd");
    return HasPassed();
}

MG_TEST_CASE(MatrixSubtractionTest)
{
    CheckMatrix(*this, kCounting - kCounting, kZero, "M - M");
    Matrix4 reduced = kCounting;
    reduced -= Matrix4();
    CheckMatrix(*this, reduced, Matrix4(0, 2, 3, 4, 5, 5, 7, 8, 9, 10, 10, 12, 13, 14, 15, 15), "M -= I");
    Matrix4 result;
    CheckMatrix(*this, *MatrixSubtract(&result, &kCounting, &kZero), kCounting,
                "M - 0 through MatrixSubtract");
    return HasPassed();
}

MG_TEST_CASE(MatrixTransposeTest)
{
    const Matrix4 expected(1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 4, 8, 12, 16);
    CheckMatrix(*this, kCounting.GetTransposed(), expected, "GetTransposed");
    Matrix4 result;
    CheckMatrix(*this, *Transpose(&result, &kCounting), expected, "Transpose");
    CheckMatrix(*this, kCounting.GetTransposed().GetTransposed(), kCounting, "transposing twice");
    return HasPassed();
}

MG_TEST_CASE(MatrixPositionTest)
{
    CheckVector(*this, kCounting.GetPosition(), Vector3(4.0f, 8.0f, 12.0f),
                "the position is m[3], m[7], m[11]");
    Matrix4 moved;
    moved.SetPosition(Vector3(-1.0f, 2.5f, 9.0f));
    CheckVector(*this, moved.GetPosition(), Vector3(-1.0f, 2.5f, 9.0f), "SetPosition from a vector");
    moved.SetPosition(7.0f, 8.0f, 9.0f);
    CheckEqual(moved.m[3] + moved.m[7] + moved.m[11], 24.0f, "SetPosition from floats");
    CheckEqual(moved.m[12] + moved.m[13] + moved.m[14], 0.0f, "the last row is untouched");
    return HasPassed();
}

MG_TEST_CASE(MatrixBasisTest)
{
    CheckVector(*this, kCounting.GetBasis(0), Vector3(1.0f, 2.0f, 3.0f), "basis 0");
    CheckVector(*this, kCounting.GetBasis(1), Vector3(5.0f, 6.0f, 7.0f), "basis 1");
    CheckVector(*this, kCounting.GetBasis(2), Vector3(9.0f, 10.0f, 11.0f), "basis 2");
    Matrix4 matrix = kCounting;
    matrix.SetBasis(1, Vector3(-1.0f, -2.0f, -3.0f));
    matrix.SetBasis(2, 0.5f, 0.25f, 0.125f);
    CheckMatrix(*this, matrix, Matrix4(1, 2, 3, 4, -1, -2, -3, 8, 0.5f, 0.25f, 0.125f, 12, 13, 14, 15, 16),
                "SetBasis keeps the translation");
    // For a rotation the image of X is the first column, while the basis rows are the
    // images of the axes under the inverse rotation.
    const Matrix4 rotation = CreateRotationZ(PiOverTwo);
    CheckVector(*this, rotation.GetBasis(0), Vector3(0.0f, -1.0f, 0.0f), "basis 0 of a quarter turn about Z");
    return HasPassed();
}

MG_TEST_CASE(MatrixCreateTranslationTest)
{
    const Matrix4 translation = MatrixCreateTranslation(1.0f, 2.0f, 3.0f);
    CheckMatrix(*this, translation, Matrix4(1, 0, 0, 1, 0, 1, 0, 2, 0, 0, 1, 3, 0, 0, 0, 1),
                "translation layout");
    CheckMatrix(*this, MatrixCreateTranslation(Vector3(1.0f, 2.0f, 3.0f)), translation, "from a vector");
    return HasPassed();
}

MG_TEST_CASE(MatrixCreateScaleTest)
{
    const Matrix4 scale = MatrixCreateScale(2.0f, 3.0f, 4.0f);
    CheckMatrix(*this, scale, Matrix4(2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1), "scale layout");
    CheckMatrix(*this, MatrixCreateScale(Vector3(2.0f, 3.0f, 4.0f)), scale, "from a vector");
    return HasPassed();
}

MG_TEST_CASE(MatrixCreateRotationTest)
{
    const float c = 0.5f;         // cos 60 degrees
    const float s = 0.866025404f; // sin 60 degrees
    const float angle = Pi / 3.0f;
    CheckMatrix(*this, CreateRotationX(angle), Matrix4(1, 0, 0, 0, 0, c, -s, 0, 0, s, c, 0, 0, 0, 0, 1),
                "about X");
    CheckMatrix(*this, CreateRotationY(angle), Matrix4(c, 0, s, 0, 0, 1, 0, 0, -s, 0, c, 0, 0, 0, 0, 1),
                "about Y");
    CheckMatrix(*this, CreateRotationZ(angle), Matrix4(c, -s, 0, 0, s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1),
                "about Z");
    CheckMatrix(*this, CreateRotationY(Radians(angle)), CreateRotationY(angle), "an Angle is accepted");
    CheckMatrix(*this, CreateRotationX(0.0f), Matrix4(), "no rotation");
    return HasPassed();
}

MG_TEST_CASE(MatrixPerformRotationTest)
{
    const Vector3 x(1.0f, 0.0f, 0.0f);
    const Vector3 y(0.0f, 1.0f, 0.0f);
    const Vector3 z(0.0f, 0.0f, 1.0f);
    const Matrix4 aboutX = CreateRotationX(PiOverTwo);
    const Matrix4 aboutY = CreateRotationY(PiOverTwo);
    const Matrix4 aboutZ = CreateRotationZ(PiOverTwo);
    CheckVector(*this, TransformNormal(y, aboutX), z, "a quarter turn about X takes Y to Z");
    CheckVector(*this, TransformNormal(z, aboutX), -y, "and Z to -Y");
    CheckVector(*this, TransformNormal(x, aboutY), -z, "a quarter turn about Y takes X to -Z");
    CheckVector(*this, TransformNormal(z, aboutY), x, "and Z to X");
    CheckVector(*this, TransformNormal(x, aboutZ), y, "a quarter turn about Z takes X to Y");
    CheckVector(*this, TransformNormal(y, aboutZ), -x, "and Y to -X");
    CheckVector(*this, TransformNormal(x, aboutZ * aboutZ), -x, "two quarter turns");
    return HasPassed();
}

MG_TEST_CASE(MatrixPerformScaleTest)
{
    const Matrix4 scale = MatrixCreateScale(2.0f, -3.0f, 0.5f);
    CheckVector(*this, TransformCoordinate(Vector3(1.0f, 1.0f, 1.0f), scale), Vector3(2.0f, -3.0f, 0.5f),
                "each axis is scaled by its own factor");
    CheckVector(*this, TransformCoordinate(Vector3(), scale), Vector3(), "the origin stays put");
    const Matrix4 scaleThenMove = scale * MatrixCreateTranslation(1.0f, 0.0f, 0.0f);
    CheckVector(*this, TransformCoordinate(Vector3(1.0f, 1.0f, 1.0f), scaleThenMove),
                Vector3(3.0f, -3.0f, 0.5f), "scaled before it is moved");
    return HasPassed();
}

MG_TEST_CASE(MatrixPerformTranslationTest)
{
    const Matrix4 move = MatrixCreateTranslation(1.0f, 2.0f, 3.0f);
    CheckVector(*this, TransformCoordinate(Vector3(1.0f, 1.0f, 1.0f), move), Vector3(2.0f, 3.0f, 4.0f),
                "a point moves");
    CheckVector(*this, TransformNormal(Vector3(1.0f, 1.0f, 1.0f), move), Vector3(1.0f, 1.0f, 1.0f),
                "a direction does not");
    CheckVector(*this, TransformCoordinate(Vector3(), move * move), Vector3(2.0f, 4.0f, 6.0f),
                "moves add up");
    return HasPassed();
}

MG_TEST_CASE(MatrixMultiplyTest)
{
    const Matrix4 a = kCounting;
    const Matrix4 b(2, 0, 1, 0, 0, 1, 0, 3, 1, 0, 0, 0, 0, 2, 0, 1);
    // Element (r, c) of a * b is the sum over k of b[r*4+k] * a[k*4+c], that is the
    // conventional product b·a of the two arrays read as rows.
    const Matrix4 expected(11, 14, 17, 20, 44, 48, 52, 56, 1, 2, 3, 4, 23, 26, 29, 32);
    CheckMatrix(*this, a * b, expected, "a * b");
    Matrix4 product = a;
    product *= b;
    CheckMatrix(*this, product, expected, "a *= b");
    Matrix4 result;
    CheckMatrix(*this, *MatrixMultiply(&result, &a, &b), expected, "MatrixMultiply");
    CheckMatrix(*this, a * kZero, kZero, "by the zero matrix");
    return HasPassed();
}

MG_TEST_CASE(MatrixMultiplyOrderTest)
{
    const Matrix4 moveThenTurn = MatrixCreateTranslation(1.0f, 2.0f, 3.0f) * CreateRotationY(PiOverTwo);
    CheckVector(*this, TransformCoordinate(Vector3(), moveThenTurn), Vector3(3.0f, 2.0f, -1.0f),
                "the left operand applies first");
    const Matrix4 turnThenMove = CreateRotationY(PiOverTwo) * MatrixCreateTranslation(1.0f, 2.0f, 3.0f);
    CheckVector(*this, TransformCoordinate(Vector3(), turnThenMove), Vector3(1.0f, 2.0f, 3.0f),
                "turning the origin first leaves it where it was");
    return HasPassed();
}

MG_TEST_CASE(MatrixDeterminantTest)
{
    CheckEqual(Matrix4().Determinant(), 1.0f, "identity");
    CheckEqual(kCounting.Determinant(), 0.0f, "dependent rows");
    CheckEqual(MatrixCreateScale(2.0f, 3.0f, 4.0f).Determinant(), 24.0f, "a scale multiplies the volume");
    CheckEqual(MatrixCreateRotationA(Vector3(1.0f, 2.0f, 3.0f), 0.7f).Determinant(), 1.0f,
               "a rotation keeps the volume");
    const Matrix4 general(2, 0, 1, 0, 0, 1, 0, 3, 1, 0, 0, 0, 0, 2, 0, 1);
    CheckEqual(general.Determinant(), 5.0f, "a general matrix");
    CheckEqual(general.GetTransposed().Determinant(), general.Determinant(), "transposing keeps it");
    return HasPassed();
}
