#include "marrowgate/core/mg_frame_timer.h"

#include "marrowgate/core/mg_error.h"

#include <chrono>

namespace Marrowgate::Core {
namespace {

constexpr char kUnitName[] = "mg_frame_timer";

std::int64_t ReadSteadyClock()
{
    const auto sinceEpoch = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::nanoseconds>(sinceEpoch).count();
}

std::int64_t SteadyClockFrequency()
{
    return 1'000'000'000;
}

struct HighResolutionClock
{
    CounterSource source{ReadSteadyClock, SteadyClockFrequency};
    std::int64_t frequency = 0;
    std::int64_t startCount = 0;
    double elapsed = 0.0;
    double delta = 0.0;
};

HighResolutionClock& Clock()
{
    static HighResolutionClock clock;
    return clock;
}

} // namespace

void SetCounterSource(CounterSource source)
{
    if (source.readCounter == nullptr || source.readFrequency == nullptr) {
        source = CounterSource{ReadSteadyClock, SteadyClockFrequency};
    }
    Clock().source = source;
}

void InitializeClock()
{
    HighResolutionClock& clock = Clock();
    clock.frequency = clock.source.readFrequency();
    // A zero frequency would turn every later elapsed time into infinity or NaN.
    MG_ERROR_IF(clock.frequency <= 0,
                "mgInternalError: Expected the performance counter frequency to be positive, got %lld.",
                static_cast<long long>(clock.frequency));
    clock.startCount = clock.source.readCounter();
    clock.elapsed = 0.0;
    clock.delta = 0.0;
    UpdateClock();
}

void UpdateClock()
{
    HighResolutionClock& clock = Clock();
    const double previous = clock.elapsed;
    if (clock.frequency > 0) {
        // Subtract the counts as integers: a nanosecond counter that has run for months no
        // longer fits a double exactly, while the difference since start-up does.
        const std::int64_t ticks = clock.source.readCounter() - clock.startCount;
        clock.elapsed = static_cast<double>(ticks) / static_cast<double>(clock.frequency);
    }
    clock.delta = clock.elapsed - previous;
}

double GetClockElapsed()
{
    return Clock().elapsed;
}

double GetClockDelta()
{
    return Clock().delta;
}

void FrameTimer::Start()
{
    const double before = GetClockElapsed();
    mStartTime = before;
    mLastTime = before;
    mDelta = 0.0;
    UpdateClock();
    mLastTime = GetClockElapsed();
    mDelta = mLastTime - before;
}

void FrameTimer::Update()
{
    const double previous = mLastTime;
    UpdateClock();
    mLastTime = GetClockElapsed();
    mDelta = mLastTime - previous;
}

} // namespace Marrowgate::Core
