#pragma once
// The sounds this generator makes: the framework's logo sound and the game's own.

#include "synthesis.h"

namespace SoundAssets {

// A bell-like arpeggio rising to a held chord: 83728 samples (about 1.9 s).
Signal MakeLogoSound();
// A bright two-note blip for collecting the chip; `semitones` transposes it.
Signal MakeChipCollected(double semitones);
// A falling whoosh of filtered noise for putting the car back.
Signal MakeCarReset();
// One second of engine hum whose every component completes whole cycles, so it loops seamlessly.
Signal MakeEngineLoop();
// Four seconds of bass and bells for the sound example's music; it loops.
Signal MakeMusicLoop();
// Sixteen seconds of slow chords under an arpeggio, for the mixer example's streamed track.
Signal MakeStreamedTheme();

} // namespace SoundAssets
