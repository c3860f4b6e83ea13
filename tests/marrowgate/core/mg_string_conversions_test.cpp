#include "marrowgate/core/mg_string_conversions.h"

#include "support/error_capture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

using Marrowgate::Core::FromString;
using Marrowgate::Core::ToString;

TEST(FromString, ReadsTheNumberAtTheFrontAndIgnoresTheRest)
{
    QuorvaneTest::ErrorCapture errors;
    EXPECT_EQ(FromString<std::int64_t>("12abc"), 12);
    EXPECT_EQ(FromString<std::int64_t>(" \t\n-7"), -7);
    EXPECT_EQ(FromString<std::int64_t>("+8"), 8);
    EXPECT_EQ(FromString<std::int64_t>("9007199254740993"), 9007199254740993);
    EXPECT_EQ(FromString<std::int32_t>("3.9"), 3);
    EXPECT_EQ(FromString<float>("2.5e2 rest"), 250.0f);
    EXPECT_EQ(FromString<double>(".5"), 0.5);
    EXPECT_FALSE(errors.Fired());
}

TEST(FromString, TextWithoutANumberGivesZero)
{
    QuorvaneTest::ErrorCapture errors;
    EXPECT_EQ(FromString<std::int64_t>("abc"), 0);
    EXPECT_EQ(FromString<std::int64_t>("   "), 0);
    EXPECT_EQ(FromString<float>("-"), 0.0f);
    EXPECT_EQ(FromString<float>("nan"), 0.0f);
    // The stream takes "1e" as the start of an exponent and then rejects the whole number.
    EXPECT_EQ(FromString<float>("1e"), 0.0f);
    EXPECT_FALSE(errors.Fired());
}

TEST(FromString, OutOfRangeNumbersGiveTheLimit)
{
    EXPECT_EQ(FromString<std::int64_t>("99999999999999999999"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(FromString<std::int64_t>("-99999999999999999999"), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(FromString<std::int32_t>("3000000000"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(FromString<float>("1e60"), std::numeric_limits<float>::max());
}

TEST(FromString, EmptyTextIsReported)
{
    QuorvaneTest::ErrorCapture errors;
    EXPECT_EQ(FromString<float>(""), 0.0f);
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.Last(), "Invalid value for parameter: input, expected valid, non-empty, string.");
}

TEST(ToString, WritesTheShortestGeneralForm)
{
    EXPECT_EQ(ToString(std::int64_t{-9223372036854775807 - 1}), "-9223372036854775808");
    EXPECT_EQ(ToString(0.5f), "0.5");
    EXPECT_EQ(ToString(42.0f), "42");
    EXPECT_EQ(ToString(0.0000001f), "1e-07");
    EXPECT_EQ(ToString(-0.1f), "-0.1");
    EXPECT_EQ(ToString(123456789.0f), "1.23457e+08");
}

} // namespace
