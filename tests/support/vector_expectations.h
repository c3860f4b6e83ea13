#pragma once
// Comparing 3D vectors component by component within a tolerance, with the component named in
// the failure.

#include "marrowgate/math/mg_vector.h"

#include <gtest/gtest.h>

namespace QuorvaneTest {

inline void ExpectNear(const Marrowgate::Core::Vector3& actual, const Marrowgate::Core::Vector3& expected,
                       float tolerance = 1e-4f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance) << "x";
    EXPECT_NEAR(actual.y, expected.y, tolerance) << "y";
    EXPECT_NEAR(actual.z, expected.z, tolerance) << "z";
}

} // namespace QuorvaneTest
