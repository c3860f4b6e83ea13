#pragma once
// Comparisons shared by the framework's math test cases: each reports a mismatch on the
// test case with enough detail to find the element that differs.

#include "marrowgate/core/mg_unit_test.h"
#include "marrowgate/math/mg_matrix.h"
#include "marrowgate/math/mg_quaternion.h"
#include "marrowgate/math/mg_vector.h"

namespace mgImplementation {

using Marrowgate::Core::UnitTest::TestCaseInterface;

// Every component within the framework's tolerance.
bool CheckVector(TestCaseInterface& test, const Marrowgate::Core::Vector2& actual,
                 const Marrowgate::Core::Vector2& expected, const char* what);
bool CheckVector(TestCaseInterface& test, const Marrowgate::Core::Vector3& actual,
                 const Marrowgate::Core::Vector3& expected, const char* what);
bool CheckVector(TestCaseInterface& test, const Marrowgate::Core::Vector4& actual,
                 const Marrowgate::Core::Vector4& expected, const char* what);
bool CheckQuaternion(TestCaseInterface& test, const Marrowgate::Core::Unstable::Quaternion& actual,
                     const Marrowgate::Core::Unstable::Quaternion& expected, const char* what);

// Reports every differing element as "Matrix(i, j);  a(actual), b(expected)", with (i, j)
// the matrix's own accessor indices.
bool CheckMatrix(TestCaseInterface& test, const Marrowgate::Core::Matrix4& actual,
                 const Marrowgate::Core::Matrix4& expected, const char* what);

} // namespace mgImplementation
