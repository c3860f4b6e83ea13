#include "marrowgate/game/mg_game_timer.h"

#include "marrowgate/core/mg_error.h"

namespace Marrowgate::Game {
namespace {
constexpr char kUnitName[] = "mg_game_timer";
}

std::uint32_t GameTimer::sMillisecondsPerStep = 10;

bool GameTimer::DecrementStep()
{
    if (mMilliseconds > sMillisecondsPerStep) {
        mMilliseconds -= sMillisecondsPerStep;
        return false;
    }
    mMilliseconds = 0;
    return true;
}

bool GameTimer::IncrementStep(std::uint32_t maximumValue)
{
    MG_ERROR_IF(maximumValue < sMillisecondsPerStep,
                "mgExternalError: maximumValue must be larger than MillisecondsPerStep.");
    // Past the check, maximumValue - step cannot wrap below zero.
    if (maximumValue >= sMillisecondsPerStep && mMilliseconds < maximumValue - sMillisecondsPerStep) {
        mMilliseconds += sMillisecondsPerStep;
        return false;
    }
    mMilliseconds = maximumValue;
    return true;
}

float GameTimer::GetPercentageOf(const GameTimer& timeValue) const
{
    MG_ERROR_IF(timeValue.mMilliseconds == 0,
                "mgExternalError: Expected timeValue to be a non-zero time value.");
    if (timeValue.mMilliseconds == 0) {
        return 0.0f;
    }
    return static_cast<float>(mMilliseconds) / static_cast<float>(timeValue.mMilliseconds);
}

float GameTimer::GetSecondsPerStep()
{
    MG_ERROR_IF(sMillisecondsPerStep == 0,
                "mgInternalError: Expected sMillisecondsPerStep to be greater than zero.");
    return static_cast<float>(sMillisecondsPerStep) / 1000.0f;
}

} // namespace Marrowgate::Game
