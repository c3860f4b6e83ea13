#pragma once
// The checks every level a game hands the audio layer passes: each reports a value out of range
// through the error facility, naming what it was for and the value, and answers whether the
// value may be used. A NaN fails every check.
//
// Depends on the core layer's error facility.

#include "marrowgate/math/mg_vector.h"

namespace mgImplementation {

// A linear gain from 0 to 1; `what` names it in the report ("master volume").
bool IsAcceptedVolume(float volume, const char* what);
// Above 0 and finite.
bool IsAcceptedPitch(float pitch);
// From -1 to 1.
bool IsAcceptedPan(float pan);
// 0 seconds or more, finite.
bool IsAcceptedFadeLength(float seconds);
// Every coordinate finite; `what` names the vector ("sound position").
bool IsAcceptedVector(const Marrowgate::Core::Vector3& vector, const char* what);

} // namespace mgImplementation
