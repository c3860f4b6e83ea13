#include "marrowgate/core/test_cases/mg_math_checks.h"

namespace mgImplementation {
namespace {

template <typename Components>
bool CheckComponents(TestCaseInterface& test, const Components& actual, const Components& expected, int count,
                     const char* what)
{
    bool equal = true;
    for (int i = 0; i < count; ++i) {
        if (!Marrowgate::Core::IsEqual(actual[i], expected[i])) {
            test.ReportFailure("%s: component %d is %.7f, expected %.7f", what, i,
                               static_cast<double>(actual[i]), static_cast<double>(expected[i]));
            equal = false;
        }
    }
    return equal;
}

} // namespace

bool CheckVector(TestCaseInterface& test, const Marrowgate::Core::Vector2& actual,
                 const Marrowgate::Core::Vector2& expected, const char* what)
{
    return CheckComponents(test, actual, expected, 2, what);
}

bool CheckVector(TestCaseInterface& test, const Marrowgate::Core::Vector3& actual,
                 const Marrowgate::Core::Vector3& expected, const char* what)
{
    return CheckComponents(test, actual, expected, 3, what);
}

bool CheckVector(TestCaseInterface& test, const Marrowgate::Core::Vector4& actual,
                 const Marrowgate::Core::Vector4& expected, const char* what)
{
    return CheckComponents(test, actual, expected, 4, what);
}

bool CheckQuaternion(TestCaseInterface& test, const Marrowgate::Core::Unstable::Quaternion& actual,
                     const Marrowgate::Core::Unstable::Quaternion& expected, const char* what)
{
    return CheckComponents(test, actual, expected, 4, what);
}

bool CheckMatrix(TestCaseInterface& test, const Marrowgate::Core::Matrix4& actual,
                 const Marrowgate::Core::Matrix4& expected, const char* what)
{
    bool equal = true;
    for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < 4; ++i) {
            if (!Marrowgate::Core::IsEqual(actual(i, j), expected(i, j))) {
                if (equal) {
                    test.ReportFailure("%s", what);
                }
                test.ReportFailure("Matrix(%d, %d);  a(%.7f), b(%.7f)", i, j,
                                   static_cast<double>(actual(i, j)), static_cast<double>(expected(i, j)));
                equal = false;
            }
        }
    }
    return equal;
}

} // namespace mgImplementation
