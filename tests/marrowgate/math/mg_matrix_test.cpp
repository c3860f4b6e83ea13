#include "marrowgate/math/mg_matrix.h"

#include "support/error_capture.h"

#include <gtest/gtest.h>

namespace {

using namespace Marrowgate::Core;
using QuorvaneTest::ErrorCapture;

void ExpectNear(const Vector3& actual, const Vector3& expected)
{
    EXPECT_NEAR(actual.x, expected.x, Epsilon);
    EXPECT_NEAR(actual.y, expected.y, Epsilon);
    EXPECT_NEAR(actual.z, expected.z, Epsilon);
}

const Matrix4 kCounting(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);

TEST(MatrixLayout, TranslationSitsInElementsThreeSevenAndEleven)
{
    EXPECT_EQ(kCounting.GetPosition().x, 4.0f);
    EXPECT_EQ(kCounting.GetPosition().y, 8.0f);
    EXPECT_EQ(kCounting.GetPosition().z, 12.0f);
    ExpectNear(kCounting.GetBasis(1), {5.0f, 6.0f, 7.0f});
    EXPECT_EQ(kCounting(3, 1), 8.0f);
    const Matrix4 move = MatrixCreateTranslation(1.0f, 2.0f, 3.0f);
    EXPECT_EQ(move.m[3] + move.m[7] + move.m[11], 6.0f);
    ExpectNear(TransformCoordinate(Vector3(), kCounting), kCounting.GetPosition());
    ExpectNear(TransformNormal({1.0f, 0.0f, 0.0f}, move), {1.0f, 0.0f, 0.0f});
}

TEST(MatrixProduct, LeftOperandAppliesFirst)
{
    const Matrix4 moveThenTurn = MatrixCreateTranslation(1.0f, 2.0f, 3.0f) * CreateRotationY(PiOverTwo);
    ExpectNear(TransformCoordinate(Vector3(), moveThenTurn), {3.0f, 2.0f, -1.0f});
    Matrix4 result;
    const Matrix4 move = MatrixCreateTranslation(1.0f, 2.0f, 3.0f);
    const Matrix4 turn = CreateRotationY(90_degrees);
    MatrixMultiply(&result, &move, &turn);
    EXPECT_EQ(result, moveThenTurn);
}

TEST(MatrixRotation, QuarterTurnsAreRightHanded)
{
    ExpectNear(TransformNormal({0.0f, 1.0f, 0.0f}, CreateRotationX(PiOverTwo)), {0.0f, 0.0f, 1.0f});
    ExpectNear(TransformNormal({1.0f, 0.0f, 0.0f}, CreateRotationY(PiOverTwo)), {0.0f, 0.0f, -1.0f});
    ExpectNear(TransformNormal({1.0f, 0.0f, 0.0f}, CreateRotationZ(PiOverTwo)), {0.0f, 1.0f, 0.0f});
    // The axis is normalised, so its length does not scale the result.
    EXPECT_EQ(MatrixCreateRotationA({0.0f, 5.0f, 0.0f}, 0.4f), CreateRotationY(0.4f));
}

TEST(MatrixInverse, SingularMatricesComeBackUnchanged)
{
    const Matrix4 zero(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    Matrix4 result;
    ComputeInverse(&result, &zero);
    EXPECT_EQ(result, zero);
    EXPECT_EQ(kCounting.ComputeInverse(), kCounting);
}

TEST(MatrixInverse, GeneralInverseMatchesFastInverseForRigidMotions)
{
    Matrix4 rigid = MatrixCreateRotationA({1.0f, -2.0f, 0.5f}, 1.3f);
    rigid.SetPosition(-3.0f, 7.0f, 2.0f);
    EXPECT_EQ(rigid.ComputeInverse(), FastInverse(rigid));
    EXPECT_EQ(rigid * FastInverse(rigid), Matrix4());
    const Matrix4 skewed(2, 1, 0, 3, 0, 1, 4, 0, 1, 0, 3, 1, 0, 0, 0, 2);
    EXPECT_EQ(skewed * skewed.ComputeInverse(), Matrix4());
    EXPECT_NEAR(skewed.Determinant() * skewed.ComputeInverse().Determinant(), 1.0f, Epsilon);
}

TEST(MatrixProjection, PerspectiveMapsNearAndFarPlanesToTheDepthRange)
{
    const Matrix4 rightHanded = CreatePerspectiveRH(Degrees(60), 4.0f / 3.0f, 0.5f, 50.0f);
    const Vector4 nearPoint = rightHanded * Vector4(0.0f, 0.0f, -0.5f, 1.0f);
    const Vector4 farPoint = rightHanded * Vector4(0.0f, 0.0f, -50.0f, 1.0f);
    EXPECT_NEAR(nearPoint.z / nearPoint.w, -1.0f, 1e-5f);
    EXPECT_NEAR(farPoint.z / farPoint.w, 1.0f, 1e-5f);
    const Matrix4 leftHanded = CreatePerspectiveLH(Degrees(60), 4.0f / 3.0f, 0.5f, 50.0f);
    const Vector4 ahead = leftHanded * Vector4(0.0f, 0.0f, 50.0f, 1.0f);
    EXPECT_NEAR(ahead.z / ahead.w, 1.0f, 1e-5f);
}

TEST(MatrixProjection, OrthographicMapsTheBoxOntoTheUnitCube)
{
    const Matrix4 screen = CreateOrthoRH(0.0f, 1280.0f, 0.0f, 720.0f, -1.0f, 1.0f);
    const Vector4 topLeft = screen * Vector4(0.0f, 0.0f, 0.0f, 1.0f);
    const Vector4 bottomRight = screen * Vector4(1280.0f, 720.0f, 0.0f, 1.0f);
    EXPECT_FLOAT_EQ(topLeft.x, -1.0f);
    EXPECT_FLOAT_EQ(topLeft.y, 1.0f);
    EXPECT_FLOAT_EQ(bottomRight.x, 1.0f);
    EXPECT_FLOAT_EQ(bottomRight.y, -1.0f);
}

TEST(MatrixLookAt, EyeGoesToTheOriginLookingDownNegativeZ)
{
    const Vector3 eye(10.0f, 10.0f, 10.0f);
    const Vector3 target(1.0f, 0.0f, -2.0f);
    const Matrix4 view = MatrixCreateLookAt(eye, target, {0.0f, 1.0f, 0.0f});
    ExpectNear(TransformCoordinate(eye, view), {0.0f, 0.0f, 0.0f});
    const Vector3 seen = TransformCoordinate(target, view);
    ExpectNear(seen, {0.0f, 0.0f, -(eye - target).Magnitude()});
    EXPECT_EQ(view * view.ComputeInverse(), Matrix4());
}

TEST(MatrixFunctionForms, AliasedResultsAreReportedWithTheirOwnMessages)
{
    ErrorCapture errors;
    Matrix4 a = kCounting;
    const Matrix4 b = CreateRotationX(0.5f);
    const Matrix4 expectedProduct = a * b;
    MatrixMultiply(&a, &a, &b);
    EXPECT_EQ(
        errors.Last(),
        "mgExternalError: Invalid parameter; expected result to be different than leftSide and rightSide");
    EXPECT_EQ(Marrowgate::Core::Error::GetLastErrorFile(), "mg_matrix");
    EXPECT_EQ(a, expectedProduct);

    Matrix4 m = b;
    ComputeInverse(&m, &m);
    EXPECT_EQ(errors.Last(),
              "mgExternalError: Invalid parameter, expected result to be different than input.");
    EXPECT_EQ(m, b.ComputeInverse());
    FastInverse(&m, &m);
    EXPECT_EQ(errors.Last(),
              "mgExternalError: Invalid parameter, expected result to be different than input.");
    Transpose(&m, &m);
    EXPECT_EQ(errors.Last(),
              "mgExternalError: Invalid parameter; expected result to be different than input");

    Vector3 v(1.0f, 2.0f, 3.0f);
    TransformCoordinate(&v, &v, &b);
    EXPECT_EQ(errors.Last(),
              "mgExternalError: Invalid parameter; expected result to be different than inputVector");
    Vector4 w;
    Vector4Matrix4Multiply(&w, &w, &b);
    EXPECT_EQ(errors.Last(),
              "mgExternalError: Invalid parameter; expected result to be different than inputVector");
    EXPECT_EQ(errors.messages.size(), 6u);
}

TEST(MatrixFunctionForms, NullPointersAreReportedNotDereferenced)
{
    ErrorCapture errors;
    EXPECT_EQ(MatrixCreateLookAt(nullptr, {0.0f, 0.0f, 1.0f}, {}, {0.0f, 1.0f, 0.0f}), nullptr);
    EXPECT_EQ(errors.Last(), "mgExternalError: Invalid parameter; Expected result to be valid pointer.");
    Vector3 result(5.0f, 5.0f, 5.0f);
    TransformNormal(&result, nullptr, &kCounting);
    ExpectNear(result, {5.0f, 5.0f, 5.0f});
    EXPECT_EQ(errors.messages.size(), 2u);
}

TEST(MatrixBasis, IndexOutsideTheThreeRowsIsReported)
{
    ErrorCapture errors;
    Matrix4 matrix = kCounting;
    ExpectNear(matrix.GetBasis(3), {0.0f, 0.0f, 0.0f});
    matrix.SetBasis(-1, 1.0f, 1.0f, 1.0f);
    EXPECT_EQ(matrix, kCounting);
    EXPECT_EQ(errors.messages.size(), 2u);
}

} // namespace
