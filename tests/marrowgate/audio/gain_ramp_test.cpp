// Fades as the fixed steps advance them.
#include "marrowgate/audio/implementation/mgi_gain_ramp.h"

#include <gtest/gtest.h>

#include <cmath>

using mgImplementation::GainRamp;
using mgImplementation::RampShape;

TEST(GainRamp, ALinearOneSecondFadeEndsExactlyOnItsHundredthStep)
{
    GainRamp ramp(1.0f, 0.0f, 1.0f, RampShape::kLinear);
    for (int step = 1; step < 100; ++step) {
        ramp.Advance(0.01f);
        ASSERT_FALSE(ramp.IsDone()) << "step " << step;
    }
    EXPECT_NEAR(ramp.GetGain(), 0.01f, 1e-4f);
    EXPECT_FLOAT_EQ(ramp.Advance(0.01f), 0.0f);
    EXPECT_TRUE(ramp.IsDone());
    EXPECT_FLOAT_EQ(ramp.Advance(0.01f), 0.0f); // and stays there
}

TEST(GainRamp, ALinearFadeIsHalfWayAtHalfTime)
{
    GainRamp ramp(0.2f, 0.8f, 2.0f, RampShape::kLinear);
    EXPECT_FLOAT_EQ(ramp.GetGain(), 0.2f);
    EXPECT_NEAR(ramp.Advance(1.0f), 0.5f, 1e-6f);
}

TEST(GainRamp, AFadeOfNoLengthIsAtItsEndAtOnce)
{
    const GainRamp ramp(1.0f, 0.25f, 0.0f, RampShape::kLinear);
    EXPECT_TRUE(ramp.IsDone());
    EXPECT_FLOAT_EQ(ramp.GetGain(), 0.25f);
}

TEST(GainRamp, EqualPowerCurvesKeepTheSumOfPowerAtEveryStep)
{
    GainRamp rising(0.0f, 1.0f, 1.0f, RampShape::kEqualPowerIn);
    GainRamp falling(1.0f, 0.0f, 1.0f, RampShape::kEqualPowerOut);
    for (int step = 0; step <= 100; ++step) {
        const float in = rising.GetGain();
        const float out = falling.GetGain();
        ASSERT_NEAR(in * in + out * out, 1.0f, 1e-5f) << "step " << step;
        rising.Advance(0.01f);
        falling.Advance(0.01f);
    }
    EXPECT_FLOAT_EQ(rising.GetGain(), 1.0f);
    EXPECT_FLOAT_EQ(falling.GetGain(), 0.0f);
}
