#include "marrowgate/core/mg_frame_timer.h"

#include "support/error_capture.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using namespace Marrowgate::Core;
using QuorvaneTest::ErrorCapture;

// A counter the test moves by hand. Each read may also advance it, to stand for the time a
// call itself takes.
std::int64_t sTicks = 0;
std::int64_t sTicksPerRead = 0;
std::int64_t sFrequency = 1'000'000;

class FrameTimerWithManualClock : public ::testing::Test
{
protected:
    void SetUp() override
    {
        sTicks = 5'000'000'000'000; // far from zero, like a real counter after days of uptime
        sTicksPerRead = 0;
        sFrequency = 1'000'000;
        SetCounterSource({[] { return sTicks += sTicksPerRead; }, [] { return sFrequency; }});
        InitializeClock();
    }
    void TearDown() override { SetCounterSource({}); }

    static void Advance(double seconds) { sTicks += static_cast<std::int64_t>(seconds * sFrequency); }
};

TEST_F(FrameTimerWithManualClock, UpdatesSixteenMillisecondsApartGiveThatDelta)
{
    FrameTimer timer;
    timer.Start();
    Advance(0.016);
    timer.Update();
    EXPECT_NEAR(timer.GetDeltaTime(), 0.016, 1e-9);
    Advance(0.033);
    timer.Update();
    EXPECT_NEAR(timer.GetDeltaTime(), 0.033, 1e-9);
    EXPECT_NEAR(GetClockElapsed(), 0.049, 1e-9);
    EXPECT_NEAR(GetClockDelta(), 0.033, 1e-9);
}

TEST_F(FrameTimerWithManualClock, FirstDeltaIsTheTimeSpentInsideStart)
{
    sTicksPerRead = 3; // three microseconds per counter read
    InitializeClock();
    FrameTimer timer;
    timer.Start();
    EXPECT_NEAR(timer.GetDeltaTime(), 3e-6, 1e-12);
    EXPECT_NEAR(timer.GetStartTime(), 3e-6, 1e-12);
}

TEST_F(FrameTimerWithManualClock, InitializingAgainRestartsElapsedTime)
{
    Advance(10.0);
    UpdateClock();
    EXPECT_NEAR(GetClockElapsed(), 10.0, 1e-9);
    InitializeClock();
    EXPECT_EQ(GetClockElapsed(), 0.0);
    EXPECT_EQ(GetClockDelta(), 0.0);
}

TEST_F(FrameTimerWithManualClock, ZeroFrequencyIsReportedInsteadOfDividingByIt)
{
    ErrorCapture errors;
    sFrequency = 0;
    InitializeClock();
    EXPECT_TRUE(errors.Fired());
    Advance(1.0);
    UpdateClock();
    EXPECT_EQ(GetClockElapsed(), 0.0);
    EXPECT_EQ(GetClockDelta(), 0.0);
}

TEST(FrameTimerWithSteadyClock, MeasuresRealTimeForwards)
{
    SetCounterSource({});
    InitializeClock();
    FrameTimer timer;
    timer.Start();
    EXPECT_GE(timer.GetDeltaTime(), 0.0);
    EXPECT_LT(timer.GetDeltaTime(), 1.0);
    timer.Update();
    EXPECT_GE(timer.GetDeltaTime(), 0.0);
}

} // namespace
