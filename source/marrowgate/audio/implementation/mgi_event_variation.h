#pragma once
// How an audio event becomes one sound: which of its variants plays, and at what volume and
// pitch.
//  - Variants: with one, always that one; with several, one at random among all but the one
//    the event played last, so the same sample never sounds twice in a row.
//  - Levels: when a range is open (min_ below max_), the level is drawn at random within it;
//    otherwise (the defaults 1 and 1, or equal bounds, or bounds the wrong way round) the
//    variant's plain volume or pitch is used.
//
// Draws from the framework's random numbers. Depends on the core and math layers only.

#include "marrowgate/audio/mg_audio_manager.h"

#include <cstddef>

namespace mgImplementation {

// lastIndex is the variant played last, or variantCount when the event has not played yet.
std::size_t ChooseVariant(std::size_t variantCount, std::size_t lastIndex);

float VaryLevel(float level, float minimumLevel, float maximumLevel);

struct EventLevels
{
    float volume = 1.0f;
    float pitch = 1.0f;
};

EventLevels VaryLevels(const Marrowgate::Audio::AudioEventInfo& variant);

} // namespace mgImplementation
