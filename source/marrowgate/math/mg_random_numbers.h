#pragma once
/// Random numbers: a small linear congruential generator (state × 214013 + 2531011), one
/// state per thread, starting at 1. Nothing seeds it unless the game asks, so by default every
/// run draws the same sequence (41, 18467, 6334, ...), which tests and replays rely on; a game
/// that wants a different run each time calls SeedRandomNumbersFromClock() once at start.
/// All consumers in a thread share that sequence. @file

#include <cstdint>

namespace Marrowgate::Core {

// One draw: an integer from 0 to 32767.
int RandomDraw();

// A float in [minimumValue, maximumValue), computed in single precision. Equal bounds give
// that bound. Reversed bounds are reported (unit mg_random_numbers) and the value is still
// drawn between them.
float RandomFloat(float minimumValue, float maximumValue);

// Restarts this thread's sequence from `state`; 1 is the sequence a run starts with.
void SeedRandomNumbers(std::uint32_t state);
// Restarts this thread's sequence from the wall clock and returns the seed it used: passing
// that to SeedRandomNumbers replays the run's draws (worth printing when chasing a bug).
std::uint32_t SeedRandomNumbersFromClock();

} // namespace Marrowgate::Core
