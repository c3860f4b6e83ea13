#pragma once
// One sound made ready for an OpenAL source. A whole sound is decoded completely and uploaded
// into one OpenAL buffer; a streaming sound (Ogg Vorbis only) keeps just the stream's layout and
// is decoded piece by piece later by the player that plays it. Also the OpenAL error check that
// follows every OpenAL call of the audio units.
//
// Depends on the core layer and the sound decoder; includes no AL header, so AL enums and names
// travel as plain integers.
//
// Known limits: the object never changes after construction and must be destroyed while the
// audio manager's context is still current. When no OpenAL context is current (no audio
// device), a whole sound is still read and checked but nothing is uploaded.

#include "marrowgate/core/mg_noncopyable.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace mgImplementation {

class AudioData : Marrowgate::Core::Noncopyable
{
public:
    // Loads the file (through mg_data_file.h: regular files up to kMaximumSoundFileBytes; every
    // report names it); streaming applies to Ogg Vorbis files only, anything else loads whole.
    AudioData(const std::string& filePath, bool streaming);
    // Loads a file image held in memory (always whole).
    AudioData(const std::uint8_t* fileData, std::size_t byteCount);
    ~AudioData();

    const std::string& GetFilePath() const { return mFilePath; }
    std::uint32_t GetSampleRate() const { return mSampleRate; }
    std::int32_t GetBitsPerSample() const { return mBitsPerSample; }
    std::int32_t GetChannels() const { return mChannels; }
    std::uint32_t GetDataSize() const { return mDataSize; }
    // The OpenAL sample format (an ALenum); 0 for a layout OpenAL cannot take.
    std::int32_t GetFormat() const;
    // The OpenAL buffer name; 0 for a streaming sound and for a sound that holds no samples.
    std::uint32_t GetBuffer() const { return mBuffer; }
    bool IsStreaming() const { return mStreaming; }

private:
    void ReadStreamLayout();
    void LoadFromBytes(const std::uint8_t* fileBytes, std::size_t byteCount);

    std::string mFilePath;
    std::uint32_t mSampleRate = 0;
    std::int32_t mBitsPerSample = 0;
    std::int32_t mChannels = 0;
    std::uint32_t mDataSize = 0;
    std::uint32_t mBuffer = 0;
    bool mStreaming = false;
};

// The OpenAL format for a channel count and sample width (an ALenum), 0 when there is none.
std::int32_t OpenALFormat(std::int32_t channels, std::int32_t bitsPerSample);

// The name of an OpenAL error code, "UNKNOWN_OPENAL_ERROR" for codes OpenAL does not define.
const char* OpenALErrorName(std::int32_t errorCode);

// Fetches the OpenAL error state once and reports it, naming the calling unit and line.
void CheckOpenALError(const char* unitName, int line);

} // namespace mgImplementation

// Follows an OpenAL call in a unit that defines kUnitName.
#define MG_CHECK_OPENAL() ::mgImplementation::CheckOpenALError(kUnitName, __LINE__)
