#include "marrowgate/game/mg_game_timer.h"

#include "support/error_capture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using Marrowgate::Game::GameTimer;

TEST(GameTimer, CountsDownInWholeStepsAndStaysDoneAtZero)
{
    GameTimer timer(25);
    EXPECT_FALSE(timer.DecrementStep());
    EXPECT_EQ(timer.GetMilliseconds(), 15u);
    EXPECT_FALSE(timer.DecrementStep());
    EXPECT_EQ(timer.GetMilliseconds(), 5u);
    EXPECT_TRUE(timer.DecrementStep());
    EXPECT_TRUE(timer.IsZero());
    EXPECT_TRUE(timer.DecrementStep());
    EXPECT_TRUE(timer.IsZero());
}

TEST(GameTimer, ExactlyOneStepLeftReachesZeroOnTheNextStep)
{
    GameTimer timer(10);
    EXPECT_TRUE(timer.DecrementStep());
    EXPECT_TRUE(timer.IsZero());
}

TEST(GameTimer, CountsUpToItsMaximumAndStopsThere)
{
    GameTimer timer;
    EXPECT_FALSE(timer.IncrementStep(25));
    EXPECT_EQ(timer.GetMilliseconds(), 10u);
    EXPECT_FALSE(timer.IncrementStep(25));
    EXPECT_EQ(timer.GetMilliseconds(), 20u);
    EXPECT_TRUE(timer.IncrementStep(25));
    EXPECT_EQ(timer.GetMilliseconds(), 25u);
    EXPECT_TRUE(timer.IncrementStep(25));
    EXPECT_EQ(timer.GetMilliseconds(), 25u);
}

TEST(GameTimer, MaximumBelowOneStepIsReportedAndDoesNotRunAway)
{
    QuorvaneTest::ErrorCapture errors;
    GameTimer timer(3);
    // Unchecked, the unsigned maximum minus a step would wrap and let the count climb forever.
    EXPECT_TRUE(timer.IncrementStep(5));
    EXPECT_THAT(
        errors.messages,
        ::testing::ElementsAre("mgExternalError: maximumValue must be larger than MillisecondsPerStep."));
    EXPECT_EQ(timer.GetMilliseconds(), 5u);
}

TEST(GameTimer, PercentageOfAnotherTimer)
{
    EXPECT_FLOAT_EQ(GameTimer(50).GetPercentageOf(GameTimer(200)), 0.25f);
    EXPECT_FLOAT_EQ(GameTimer(0).GetPercentageOf(350), 0.0f);
    QuorvaneTest::ErrorCapture errors;
    EXPECT_FLOAT_EQ(GameTimer(50).GetPercentageOf(GameTimer(0)), 0.0f);
    EXPECT_THAT(errors.messages,
                ::testing::ElementsAre("mgExternalError: Expected timeValue to be a non-zero time value."));
}

TEST(GameTimer, StepIsTenMillisecondsAndAZeroStepIsReported)
{
    EXPECT_FLOAT_EQ(GameTimer::GetSecondsPerStep(), 0.01f);
    QuorvaneTest::ErrorCapture errors;
    GameTimer::sMillisecondsPerStep = 0;
    GameTimer::GetSecondsPerStep();
    GameTimer::sMillisecondsPerStep = 10;
    EXPECT_THAT(
        errors.messages,
        ::testing::ElementsAre("mgInternalError: Expected sMillisecondsPerStep to be greater than zero."));
}

} // namespace
