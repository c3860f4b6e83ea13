#include "marrowgate/math/mg_quaternion.h"

#include "support/error_capture.h"

#include <gtest/gtest.h>

namespace {

using Marrowgate::Core::Unstable::Quaternion;
using QuorvaneTest::ErrorCapture;

TEST(QuaternionNormalize, DegenerateQuaternionsBecomeTheIdentity)
{
    EXPECT_EQ(Quaternion(0.0f, 0.0f, 0.0f, 0.0f).GetNormalized(), Quaternion(0.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_EQ(Quaternion(0.0f, 0.0f, 0.0f, 0.0f).GetInverse(), Quaternion());
    EXPECT_EQ(Quaternion(0.0f, 3.0f, 0.0f, 4.0f).GetNormalized(), Quaternion(0.0f, 0.6f, 0.0f, 0.8f));
}

TEST(QuaternionProduct, FollowsHamiltonsRules)
{
    const Quaternion i(1.0f, 0.0f, 0.0f, 0.0f);
    const Quaternion j(0.0f, 1.0f, 0.0f, 0.0f);
    const Quaternion k(0.0f, 0.0f, 1.0f, 0.0f);
    EXPECT_EQ(i * j, k);
    EXPECT_EQ(j * k, i);
    EXPECT_EQ(k * i, j);
    EXPECT_EQ(i * i, Quaternion(0.0f, 0.0f, 0.0f, -1.0f));
    const Quaternion q(0.5f, -1.0f, 2.0f, 3.0f);
    EXPECT_EQ(q * Quaternion(), q);
    EXPECT_EQ(q * q.GetInverse(), Quaternion());
}

TEST(QuaternionFunctionForms, ReportNullOperandsAndAliasedProducts)
{
    ErrorCapture errors;
    Quaternion a(1.0f, 2.0f, 3.0f, 4.0f);
    const Quaternion b(0.0f, 1.0f, 0.0f, 1.0f);
    const Quaternion expected = a * b;
    QuaternionMultiply(&a, &a, &b);
    EXPECT_EQ(
        errors.Last(),
        "mgExternalError: Invalid parameter for result, expected different location than left or right.");
    EXPECT_EQ(Marrowgate::Core::Error::GetLastErrorFile(), "mg_quaternion");
    EXPECT_EQ(a, expected);

    Quaternion result(9.0f, 9.0f, 9.0f, 9.0f);
    QuaternionAdd(&result, nullptr, &b);
    EXPECT_EQ(errors.Last(), "mgExternalError: Invalid parameter for left, expected valid pointer.");
    QuaternionSubtract(&result, &b, nullptr);
    EXPECT_EQ(errors.Last(), "mgExternalError: Invalid parameter for right, expected valid pointer.");
    QuaternionNormalize(&result, nullptr);
    EXPECT_EQ(errors.Last(), "mgExternalError: Invalid parameter for input, expected valid pointer.");
    QuaternionNegate(nullptr, &b);
    EXPECT_EQ(errors.Last(), "mgExternalError: Invalid parameter for result, expected valid pointer.");
    EXPECT_EQ(result, Quaternion(9.0f, 9.0f, 9.0f, 9.0f));
}

} // namespace
