#include "marrowgate/math/mg_random_numbers.h"

#include "marrowgate/core/mg_error.h"

#include <chrono>

namespace Marrowgate::Core {
namespace {

constexpr char kUnitName[] = "mg_random_numbers";

thread_local std::uint32_t randomState = 1;

} // namespace

int RandomDraw()
{
    // Unsigned arithmetic wraps modulo 2^32, which is the generator's definition.
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int>((randomState >> 16) & 0x7FFFu);
}

float RandomFloat(float minimumValue, float maximumValue)
{
    MG_ERROR_IF(minimumValue > maximumValue,
                "mgExternalError: Expected minimumValue to be less than maximumValue.");
    const float unit = static_cast<float>(RandomDraw()) / 32768.0f;
    return minimumValue + unit * (maximumValue - minimumValue);
}

void SeedRandomNumbers(std::uint32_t state)
{
    randomState = state;
}

std::uint32_t SeedRandomNumbersFromClock()
{
    // Nanoseconds since the epoch, both halves folded in, so that runs seconds apart and runs
    // nanoseconds apart both differ.
    const auto now = static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    const auto seed = static_cast<std::uint32_t>(now ^ (now >> 32));
    SeedRandomNumbers(seed);
    return seed;
}

} // namespace Marrowgate::Core
