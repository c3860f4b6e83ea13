#include "marrowgate/audio/implementation/mgi_vorbis_stream.h"

#include "marrowgate/core/mg_data_file.h"
#include "marrowgate/core/mg_error.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>

#include <algorithm>
#include <climits>

namespace mgImplementation {
namespace {

constexpr char kUnitName[] = "mgi_vorbis_stream";

} // namespace

OpenedVorbisFile OpenVorbisFile(const std::string& filePath)
{
    Marrowgate::Core::DataFile file(filePath, Marrowgate::Core::kMaximumSoundFileBytes);
    std::FILE* stream = file.ReleaseAsStream();
    if (stream == nullptr) {
        return {nullptr, true};
    }
    int error = 0;
    // The decoder owns the stream from here on: it closes it when it is closed, or at once when
    // the file holds no Vorbis stream.
    return {stb_vorbis_open_file(stream, 1, &error, nullptr), false};
}

VorbisStream::VorbisStream(const std::string& filePath) : mDecoder(OpenVorbisFile(filePath).decoder) {}

VorbisStream::~VorbisStream()
{
    if (mDecoder != nullptr) {
        stb_vorbis_close(mDecoder);
    }
}

std::uint32_t VorbisStream::Read(std::span<std::int16_t> samples, int channels, bool looping)
{
    if (mDecoder == nullptr || channels <= 0) {
        return 0;
    }
    const std::uint32_t framesWanted =
        static_cast<std::uint32_t>(samples.size() / static_cast<std::size_t>(channels));
    std::uint32_t frames = Decode(samples, channels);
    if (frames == 0 && looping) {
        // The previous read ended exactly at the end of the file. One rewind only: a file
        // that yields nothing even from its start must not spin.
        Rewind();
        frames = Decode(samples, channels);
    }
    if (frames == 0 || frames >= framesWanted || !looping) {
        return frames;
    }
    Rewind();
    frames += Decode(samples.subspan(static_cast<std::size_t>(frames) * static_cast<std::size_t>(channels)),
                     channels);
    MG_ERROR_IF(frames != framesWanted,
                "mgInternalError: Streaming and Looping Audio, perhaps buffer size too large?");
    return frames;
}

std::uint32_t VorbisStream::Decode(std::span<std::int16_t> samples, int channels)
{
    const std::size_t count = std::min<std::size_t>(samples.size(), INT_MAX);
    const int frames =
        stb_vorbis_get_samples_short_interleaved(mDecoder, channels, samples.data(), static_cast<int>(count));
    return frames > 0 ? static_cast<std::uint32_t>(frames) : 0;
}

void VorbisStream::Rewind()
{
    stb_vorbis_seek_start(mDecoder);
}

} // namespace mgImplementation
