#pragma once
// Decodes an Ogg Vorbis file piece by piece into interleaved 16-bit samples, for players that
// stream a sound instead of holding it whole. A looping read wraps to the start of the file
// to fill the rest of its piece.
//
// Depends on the core layer and stb_vorbis; no audio device involved.
//
// Known limits: a looping read wraps at most once, so a file shorter than a third of a piece
// leaves the piece short (that is reported).

#include "marrowgate/core/mg_noncopyable.h"

#include <cstdint>
#include <span>
#include <string>

struct stb_vorbis;

namespace mgImplementation {

// A decoder reading the file through mg_data_file.h (regular files up to
// kMaximumSoundFileBytes). Its decoder is null when the file is refused, which the reader has
// reported, or holds no Vorbis stream, which is left to the caller to report or not. Close the
// decoder with stb_vorbis_close, which also closes the file.
struct OpenedVorbisFile
{
    stb_vorbis* decoder = nullptr;
    bool fileRefused = false;
};
OpenedVorbisFile OpenVorbisFile(const std::string& filePath);

class VorbisStream : Marrowgate::Core::Noncopyable
{
public:
    // Opens the file; IsOpen() tells whether that worked.
    explicit VorbisStream(const std::string& filePath);
    ~VorbisStream();

    bool IsOpen() const { return mDecoder != nullptr; }

    // Decodes into `samples` (interleaved, `channels` per frame) from the current position and
    // returns the frames obtained. At the end of the file a looping read starts over from the
    // beginning; a non-looping one returns what is left, 0 once the file is exhausted.
    std::uint32_t Read(std::span<std::int16_t> samples, int channels, bool looping);

private:
    std::uint32_t Decode(std::span<std::int16_t> samples, int channels);
    void Rewind();

    stb_vorbis* mDecoder = nullptr;
};

} // namespace mgImplementation
