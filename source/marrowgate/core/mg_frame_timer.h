#pragma once
/// The high-resolution clock and the frame timer that measures the real time between two
/// passes of the main loop. Simulation time is not measured here; it advances in fixed steps.
/// @file
/// The clock reads a performance counter through a small seam, `CounterSource`: by default
/// std::chrono::steady_clock; the platform layer installs its own counter, and tests install
/// one they drive by hand. The clock is one process-wide instance, main thread only.

#include <cstdint>

namespace Marrowgate::Core {

struct CounterSource
{
    std::int64_t (*readCounter)() = nullptr;   // ticks since some fixed point
    std::int64_t (*readFrequency)() = nullptr; // ticks per second
};

// Installs the counter the clock reads from its next InitializeClock on. A source with a null
// function restores the default (steady_clock in nanoseconds).
void SetCounterSource(CounterSource source);

// Reads the frequency and the start count, zeroes elapsed and delta, then updates once.
void InitializeClock();
// elapsed = (counter now - start count) / frequency; delta = new elapsed - previous elapsed.
void UpdateClock();
double GetClockElapsed();
double GetClockDelta();

class FrameTimer
{
public:
    // Takes the clock's elapsed time as the start; the first delta is the time Start itself took.
    void Start();
    // Updates the clock and measures the seconds since the previous Start or Update.
    void Update();

    double GetDeltaTime() const { return mDelta; }
    double GetStartTime() const { return mStartTime; }

private:
    double mStartTime = 0.0;
    double mLastTime = 0.0;
    double mDelta = 0.0;
};

} // namespace Marrowgate::Core
