#include "marrowgate/audio/implementation/mgi_gain_ramp.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace mgImplementation {
namespace {

// Steps add up their lengths in floats: a hundred steps of 0.01 s may fall a hair short of one
// second, and the ramp must still end on the hundredth.
constexpr float kTimeTolerance = 1.0e-4f;

} // namespace

GainRamp::GainRamp(float startGain, float endGain, float seconds, RampShape shape)
    : mStartGain(startGain), mEndGain(endGain), mSeconds(std::max(seconds, 0.0f)), mShape(shape)
{}

float GainRamp::Advance(float elapsedSeconds)
{
    mElapsedSeconds = std::min(mSeconds, mElapsedSeconds + elapsedSeconds);
    if (mSeconds - mElapsedSeconds < kTimeTolerance) {
        mElapsedSeconds = mSeconds;
    }
    return GetGain();
}

float GainRamp::GetGain() const
{
    if (IsDone()) {
        return mEndGain;
    }
    const float progress = mElapsedSeconds / mSeconds;
    const float quarterTurn = progress * std::numbers::pi_v<float> / 2.0f;
    float shaped = progress;
    if (mShape == RampShape::kEqualPowerIn) {
        shaped = std::sin(quarterTurn);
    } else if (mShape == RampShape::kEqualPowerOut) {
        shaped = 1.0f - std::cos(quarterTurn);
    }
    return mStartGain + (mEndGain - mStartGain) * shaped;
}

bool GainRamp::IsDone() const
{
    return mElapsedSeconds >= mSeconds;
}

} // namespace mgImplementation
