#pragma once
/// Random numbers: a small linear congruential generator (state × 214013 + 2531011), one
/// state per thread, starting at 1 and never seeded by the program, so every run draws the
/// same sequence (41, 18467, 6334, ...). All consumers in a thread share that sequence. @file

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

} // namespace Marrowgate::Core
