#pragma once
// Writes a signal as an Ogg Vorbis file with libvorbis's own encoder (Debian's libvorbis-dev):
// mono, at kSampleRate, variable bit rate. The stream's serial number is fixed, so the same
// signal gives the same file every time.

#include "synthesis.h"

#include <filesystem>

namespace SoundAssets {

// quality: libvorbis's VBR quality, -0.1 (smallest) to 1.0 (best); 0.4 is about 128 kbit/s.
bool WriteOggVorbis(const std::filesystem::path& path, const Signal& signal, float quality = 0.4f);

} // namespace SoundAssets
