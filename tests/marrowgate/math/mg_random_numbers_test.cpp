#include "marrowgate/math/mg_random_numbers.h"

#include "support/error_capture.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using namespace Marrowgate::Core;
using QuorvaneTest::ErrorCapture;

class RandomNumbers : public ::testing::Test
{
protected:
    // Every test starts from the sequence a fresh run draws.
    void SetUp() override { SeedRandomNumbers(1); }
};

TEST_F(RandomNumbers, AFreshGeneratorDrawsTheKnownSequence)
{
    EXPECT_EQ(RandomDraw(), 41);
    EXPECT_EQ(RandomDraw(), 18467);
    EXPECT_EQ(RandomDraw(), 6334);
}

TEST_F(RandomNumbers, SeedingFromTheClockLeavesTheDefaultSequenceAndItsSeedReplaysTheRun)
{
    const std::uint32_t seed = SeedRandomNumbersFromClock();
    const int draws[] = {RandomDraw(), RandomDraw(), RandomDraw()};
    EXPECT_NE(seed, 1u);
    SeedRandomNumbers(seed);
    EXPECT_EQ(RandomDraw(), draws[0]);
    EXPECT_EQ(RandomDraw(), draws[1]);
    EXPECT_EQ(RandomDraw(), draws[2]);
}

TEST_F(RandomNumbers, RandomFloatScalesTheDrawsIntoTheRange)
{
    EXPECT_NEAR(RandomFloat(0.0f, 1.0f), 0.00125f, 0.00001f);
    EXPECT_NEAR(RandomFloat(0.0f, 1.0f), 0.56357f, 0.00001f);
    EXPECT_NEAR(RandomFloat(0.0f, 1.0f), 0.19330f, 0.00001f);
    SeedRandomNumbers(1);
    EXPECT_NEAR(RandomFloat(-10.0f, 10.0f), -10.0f + 20.0f * 41.0f / 32768.0f, 0.00001f);
}

TEST_F(RandomNumbers, ValuesStayBelowTheUpperBound)
{
    for (int i = 0; i < 100000; ++i) {
        const float value = RandomFloat(2.0f, 3.0f);
        ASSERT_GE(value, 2.0f);
        ASSERT_LT(value, 3.0f);
    }
}

TEST_F(RandomNumbers, EqualBoundsGiveTheBoundAndReversedBoundsAreReported)
{
    ErrorCapture errors;
    EXPECT_EQ(RandomFloat(1.0f, 1.0f), 1.0f);
    EXPECT_FALSE(errors.Fired());
    const float value = RandomFloat(2.0f, 1.0f);
    ASSERT_TRUE(errors.Fired());
    EXPECT_EQ(errors.Last(), "mgExternalError: Expected minimumValue to be less than maximumValue.");
    EXPECT_EQ(Marrowgate::Core::Error::GetLastErrorFile(), "mg_random_numbers");
    EXPECT_LE(value, 2.0f);
    EXPECT_GT(value, 1.0f);
}

TEST_F(RandomNumbers, EachThreadHasItsOwnSequence)
{
    RandomDraw();
    int firstDrawOfNewThread = 0;
    std::thread([&firstDrawOfNewThread] { firstDrawOfNewThread = RandomDraw(); }).join();
    EXPECT_EQ(firstDrawOfNewThread, 41);
    EXPECT_EQ(RandomDraw(), 18467);
}

} // namespace
