#pragma once
// A gain that moves from one level to another over a time, advanced by the fixed steps: the
// fades of channels and of the music crossfade. A linear ramp moves the gain evenly; the two
// equal-power shapes follow a quarter sine (in) and a quarter cosine (out), so that two
// uncorrelated tracks crossing over keep the sum of their power, and so their loudness, steady.
//
// Depends on nothing but the standard library; no device involved.

namespace mgImplementation {

enum class RampShape
{
    kLinear,
    kEqualPowerIn,
    kEqualPowerOut,
};

class GainRamp
{
public:
    // A ramp of zero seconds is at its end at once.
    GainRamp(float startGain, float endGain, float seconds, RampShape shape);

    // Moves the ramp on and returns the gain there.
    float Advance(float elapsedSeconds);
    float GetGain() const;
    bool IsDone() const;
    float GetEndGain() const { return mEndGain; }

private:
    float mStartGain;
    float mEndGain;
    float mSeconds;
    float mElapsedSeconds = 0.0f;
    RampShape mShape;
};

} // namespace mgImplementation
