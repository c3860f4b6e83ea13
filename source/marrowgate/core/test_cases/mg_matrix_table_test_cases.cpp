// The framework's table-driven matrix test cases: each holds records of inputs followed by
// the expected matrix, and one Run() checks every record from its index on. The expected
// matrices were worked out by hand from the definitions, not with this library.

#include "marrowgate/core/test_cases/mg_math_checks.h"

#include <cstddef>
#include <span>
#include <vector>

using namespace Marrowgate::Core;
using Marrowgate::Core::UnitTest::TestCaseInterface;

namespace {

template <typename Record> class MatrixTableTest : public TestCaseInterface
{
public:
    MatrixTableTest(const char* name, std::span<const Record> table)
        : TestCaseInterface(name), mRecords(table.begin(), table.end())
    {}

    bool Run() override
    {
        for (; mIndex < mRecords.size(); ++mIndex) {
            const Record& record = mRecords[mIndex];
            const std::string what = GetName() + " record " + std::to_string(mIndex);
            mgImplementation::CheckMatrix(*this, record.Build(), record.expected, what.c_str());
        }
        return HasPassed();
    }

private:
    std::vector<Record> mRecords;
    std::size_t mIndex = 0;
};

struct LookAtRecord
{
    Vector3 eye, target, up;
    Matrix4 expected;
    Matrix4 Build() const { return MatrixCreateLookAt(eye, target, up); }
};

constexpr float kInverseRootThree = 0.577350269f;
constexpr float kInverseRootTwo = 0.707106781f;
constexpr float kRootSixth = 0.408248290f;

const LookAtRecord kLookAtTable[] = {
    {{0, 0, 5}, {0, 0, 0}, {0, 1, 0}, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, -5, 0, 0, 0, 1}},
    {{3, 0, 0}, {0, 0, 0}, {0, 1, 0}, {0, 0, -1, 0, 0, 1, 0, 0, 1, 0, 0, -3, 0, 0, 0, 1}},
    {{10, 10, 10},
     {0, 0, 0},
     {0, 1, 0},
     {kInverseRootTwo, 0, -kInverseRootTwo, 0, -kRootSixth, 2 * kRootSixth, -kRootSixth, 0, kInverseRootThree,
      kInverseRootThree, kInverseRootThree, -30 * kInverseRootThree, 0, 0, 0, 1}},
};

struct OrthographicRecord
{
    bool rightHanded;
    float left, right, top, bottom, nearPlane, farPlane;
    Matrix4 expected;
    Matrix4 Build() const
    {
        return rightHanded ? CreateOrthoRH(left, right, top, bottom, nearPlane, farPlane)
                           : CreateOrthoLH(left, right, top, bottom, nearPlane, farPlane);
    }
};

const OrthographicRecord kOrthographicTable[] = {
    {true, 0, 800, 0, 600, -1, 1, {0.0025f, 0, 0, -1, 0, -0.00333333333f, 0, 1, 0, 0, -1, 0, 0, 0, 0, 1}},
    {false, -2, 2, 1, -1, 1, 11, {0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0.2f, -1.2f, 0, 0, 0, 1}},
    {true, -2, 2, 1, -1, 1, 11, {0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, -0.2f, -1.2f, 0, 0, 0, 1}},
};

struct PerspectiveRecord
{
    bool rightHanded;
    float fieldOfViewY, aspectRatio, nearPlane, farPlane;
    Matrix4 expected;
    Matrix4 Build() const
    {
        return rightHanded ? CreatePerspectiveRH(fieldOfViewY, aspectRatio, nearPlane, farPlane)
                           : CreatePerspectiveLH(fieldOfViewY, aspectRatio, nearPlane, farPlane);
    }
};

const PerspectiveRecord kPerspectiveTable[] = {
    {true, PiOverTwo, 1, 1, 3, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -2, -3, 0, 0, -1, 0}},
    {false, PiOverTwo, 1, 1, 3, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 2, -3, 0, 0, 1, 0}},
    {true,
     Pi / 3,
     16.0f / 9.0f,
     0.1f,
     100,
     {0.974278579f, 0, 0, 0, 0, 1.73205081f, 0, 0, 0, 0, -1.002002f, -0.2002002f, 0, 0, -1, 0}},
};

struct RotationAxisRecord
{
    Vector3 axis;
    float radians;
    Matrix4 expected;
    Matrix4 Build() const { return MatrixCreateRotationA(axis, radians); }
};

const RotationAxisRecord kRotationAxisTable[] = {
    // The axis is normalised first, so its length does not matter.
    {{0, 0, 2}, PiOverTwo, {0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}},
    // A third of a turn about the diagonal cycles X to Y, Y to Z and Z to X.
    {{1, 1, 1}, 2 * Pi / 3, {0, 0, 1, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1}},
    {{1, 0, 0}, Pi, {1, 0, 0, 0, 0, -1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1}},
    {{0, 1, 0}, -PiOverTwo, {0, 0, -1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1}},
};

struct FastInverseRecord
{
    Matrix4 input;
    Matrix4 expected;
    Matrix4 Build() const { return FastInverse(input); }
};

const FastInverseRecord kFastInverseTable[] = {
    {Matrix4(), Matrix4()},
    {{1, 0, 0, 1, 0, 1, 0, 2, 0, 0, 1, 3, 0, 0, 0, 1}, {1, 0, 0, -1, 0, 1, 0, -2, 0, 0, 1, -3, 0, 0, 0, 1}},
    // A quarter turn about Z, then a move along X.
    {{0, -1, 0, 1, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, {0, 1, 0, 0, -1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 1}},
};

class MatrixCreateLookAtTest final : public MatrixTableTest<LookAtRecord>
{
public:
    MatrixCreateLookAtTest() : MatrixTableTest("MatrixCreateLookAtTest", kLookAtTable) {}
} theMatrixCreateLookAtTest;

class MatrixCreateOrthographicTest final : public MatrixTableTest<OrthographicRecord>
{
public:
    MatrixCreateOrthographicTest() : MatrixTableTest("MatrixCreateOrthographicTest", kOrthographicTable) {}
} theMatrixCreateOrthographicTest;

class MatrixCreatePerspectiveTest final : public MatrixTableTest<PerspectiveRecord>
{
public:
    MatrixCreatePerspectiveTest() : MatrixTableTest("MatrixCreatePerspectiveTest", kPerspectiveTable) {}
} theMatrixCreatePerspectiveTest;

class MatrixCreateRotationAxisTest final : public MatrixTableTest<RotationAxisRecord>
{
public:
    MatrixCreateRotationAxisTest() : MatrixTableTest("MatrixCreateRotationAxisTest", kRotationAxisTable) {}
} theMatrixCreateRotationAxisTest;

class MatrixFastInverseTest final : public MatrixTableTest<FastInverseRecord>
{
public:
    MatrixFastInverseTest() : MatrixTableTest("MatrixFastInverseTest", kFastInverseTable) {}
} theMatrixFastInverseTest;

} // namespace
