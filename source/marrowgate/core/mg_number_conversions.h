#pragma once
/// Narrowing conversions between number types that are defined for every input.
/// @file
/// A plain cast from a floating value to an integer, or from a double to a float, is
/// undefined when the value does not fit. Data read from files can hold any number, so the
/// data code converts through these instead:
/// - to an integer: truncated toward zero; NaN gives 0; values beyond the integer's range
///   give its smallest or largest value;
/// - double to float: rounded to the nearest float; values beyond the float range give
///   infinity with their sign, as the hardware conversion would.
///
/// Header only; depends on the standard library.

#include <cmath>
#include <concepts>
#include <limits>

namespace Marrowgate::Core {

template <std::signed_integral Integer, std::floating_point Floating>
Integer TruncateToInteger(Floating value)
{
    if (std::isnan(value)) {
        return 0;
    }
    // Both limits are powers of two (or one less), so -2^(n-1) and 2^(n-1) are exact in any
    // floating type and the comparisons below are exact as well.
    constexpr Floating lowest = static_cast<Floating>(std::numeric_limits<Integer>::min());
    constexpr Floating beyondHighest = -lowest;
    if (value <= lowest) {
        return std::numeric_limits<Integer>::min();
    }
    if (value >= beyondHighest) {
        return std::numeric_limits<Integer>::max();
    }
    return static_cast<Integer>(value);
}

inline float NarrowToFloat(double value)
{
    // Halfway between the largest float and the next power of two: from there on a
    // conversion rounds to infinity.
    constexpr double roundsToInfinity = 0x1.ffffffp+127;
    if (std::fabs(value) >= roundsToInfinity) {
        constexpr float infinity = std::numeric_limits<float>::infinity();
        return value > 0.0 ? infinity : -infinity;
    }
    return static_cast<float>(value);
}

} // namespace Marrowgate::Core
