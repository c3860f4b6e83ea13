#pragma once
/// GameTimer: a count of milliseconds that moves only in whole fixed simulation steps.
/// @file
/// It never reads a clock, so it advances exactly as fast as the simulation does and many of
/// them cost nothing. Depends on: core (errors).

#include <compare>
#include <cstdint>

namespace Marrowgate::Game {

class GameTimer
{
public:
    // The fixed simulation step in milliseconds.
    static std::uint32_t sMillisecondsPerStep;

    GameTimer() = default;
    // Implicit on purpose: timers are written as plain millisecond counts (GameTimer t = 2500).
    GameTimer(std::uint32_t milliseconds) : mMilliseconds(milliseconds) {}

    std::uint32_t GetMilliseconds() const { return mMilliseconds; }
    void SetToZero() { mMilliseconds = 0; }
    bool IsZero() const { return mMilliseconds == 0; }

    // One step down; true on the step that reaches zero and on every call after it.
    bool DecrementStep();
    // One step up; true once the count has reached maximumValue (and it stays there).
    bool IncrementStep(std::uint32_t maximumValue);
    // This count as a fraction of timeValue's.
    float GetPercentageOf(const GameTimer& timeValue) const;

    // The step in seconds (0.01).
    static float GetSecondsPerStep();

    friend bool operator==(const GameTimer&, const GameTimer&) = default;
    friend auto operator<=>(const GameTimer&, const GameTimer&) = default;

private:
    std::uint32_t mMilliseconds = 0;
};

inline std::uint32_t MillisecondsPerStep()
{
    return GameTimer::sMillisecondsPerStep;
}

} // namespace Marrowgate::Game
