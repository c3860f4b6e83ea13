#include "marrowgate/audio/implementation/mgi_audio_library_logs.h"

#include <cstdlib>
#include <string_view>

// ALSA's error header relies on va_list being declared before it. A browser has no ALSA.
#ifndef __EMSCRIPTEN__
#include <cstdarg>

#include <alsa/error.h>

namespace {

void DropAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

} // namespace
#endif

namespace mgImplementation {

bool IsAudioVerbose()
{
    const char* verbose = std::getenv("MARROWGATE_VERBOSE");
    return verbose != nullptr && std::string_view(verbose) != "" && std::string_view(verbose) != "0";
}

void QuietAudioLibraries()
{
    if (!IsAudioVerbose()) {
        // Only a default: a level the user set stays.
        setenv("ALSOFT_LOGLEVEL", "0", 0);
    }
    // OpenAL Soft opens ALSA itself, as the same shared library this handler is set in, so
    // ALSA's messages follow OpenAL Soft's level rather than a setting of their own.
#ifndef __EMSCRIPTEN__
    const char* level = std::getenv("ALSOFT_LOGLEVEL");
    snd_lib_error_set_handler(level != nullptr && std::string_view(level) == "0" ? DropAlsaMessage : nullptr);
#endif
}

} // namespace mgImplementation
