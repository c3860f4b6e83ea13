#pragma once
// Keeps the audio libraries' own diagnostics out of the user's way.
//
// Without a sound card, OpenAL Soft and ALSA under it write about nine lines of their own before
// the manager's one line saying that the program runs silently. They stay quiet unless the user
// asks: MARROWGATE_VERBOSE (any value but "0") leaves both libraries at their own defaults and
// names the audio device that opened; ALSOFT_LOGLEVEL set by the user is respected as it is.

namespace mgImplementation {

// True when MARROWGATE_VERBOSE asks for the audio libraries' logs and the audio device's name.
bool IsAudioVerbose();

// Call before the first OpenAL call of the process: OpenAL Soft reads its log level once, then.
// Unless verbose, OpenAL Soft's log level defaults to none; while that level is none, ALSA's
// error messages are dropped as well.
void QuietAudioLibraries();

} // namespace mgImplementation
