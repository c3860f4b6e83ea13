#include "marrowgate/audio/implementation/mgi_audio_data.h"

#include "marrowgate/audio/implementation/mgi_sound_decoder.h"
#include "marrowgate/core/mg_error.h"

#include <AL/al.h>
#include <AL/alc.h>

#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>

#include <array>
#include <climits>
#include <fstream>
#include <iterator>
#include <vector>

namespace mgImplementation {
namespace {

constexpr char kUnitName[] = "mgi_audio_data";

bool ReadWholeFile(const std::string& filePath, std::vector<std::uint8_t>& bytes)
{
    std::ifstream file(filePath, std::ios::binary);
    if (!file.good()) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

// Streaming needs a file the Vorbis decoder can reopen later, so only Ogg files stream.
bool IsOggVorbisFile(const std::string& filePath)
{
    if (IsOggVorbisPath(filePath)) {
        return true;
    }
    std::array<std::uint8_t, 4> start{};
    std::ifstream file(filePath, std::ios::binary);
    file.read(reinterpret_cast<char*>(start.data()), start.size());
    return file.good() && StartsWithOggCapturePattern(start);
}

} // namespace

AudioData::AudioData(const std::string& filePath, bool streaming) : mFilePath(filePath)
{
    if (streaming && IsOggVorbisFile(filePath)) {
        mStreaming = true;
        ReadStreamLayout();
        return;
    }
    LoadWhole();
}

AudioData::AudioData(const std::uint8_t* fileData, std::size_t byteCount)
{
    MG_ERROR_IF(fileData == nullptr,
                "mgExternalError: Invalid file data, expected valid memory buffer containing file.");
    MG_ERROR_IF(byteCount == 0, "mgExternalError: Invalid file size, 0 bytes.");
    if (fileData == nullptr || byteCount == 0) {
        return;
    }
    LoadFromBytes(fileData, byteCount);
}

AudioData::~AudioData()
{
    if (mBuffer != 0) {
        const ALuint buffer = mBuffer;
        alDeleteBuffers(1, &buffer);
        MG_CHECK_OPENAL();
    }
}

std::int32_t AudioData::GetFormat() const
{
    return OpenALFormat(mChannels, mBitsPerSample);
}

void AudioData::ReadStreamLayout()
{
    int error = 0;
    stb_vorbis* decoder = stb_vorbis_open_filename(mFilePath.c_str(), &error, nullptr);
    if (decoder == nullptr) {
        MG_ERROR("mgError: Was unable to initialize audio file for streaming, \"%s\".", mFilePath.c_str());
        return;
    }
    const stb_vorbis_info info = stb_vorbis_get_info(decoder);
    stb_vorbis_close(decoder);
    mSampleRate = info.sample_rate;
    mChannels = info.channels;
    mBitsPerSample = 16;
    MG_ERROR_IF(mChannels != 1 && mChannels != 2,
                "mgExternalError: Audio file \"%s\" is not a mono or stereo OGG file.", mFilePath.c_str());
}

void AudioData::LoadWhole()
{
    std::vector<std::uint8_t> fileBytes;
    if (!ReadWholeFile(mFilePath, fileBytes)) {
        MG_ERROR("mgExternalError: Failed to load audio file, \"%s\".", mFilePath.c_str());
        MG_ERROR("mgError: Was unable to initialize audio data for file, \"%s\".", mFilePath.c_str());
        return;
    }
    LoadFromBytes(fileBytes.data(), fileBytes.size());
}

void AudioData::LoadFromBytes(const std::uint8_t* fileBytes, std::size_t byteCount)
{
    DecodedSound sound;
    if (!DecodeSoundFile(std::span(fileBytes, byteCount), mFilePath, sound)) {
        MG_ERROR("mgError: Was unable to initialize audio data for file, \"%s\".", mFilePath.c_str());
        return;
    }
    mSampleRate = sound.sampleRate;
    mBitsPerSample = sound.bitsPerSample;
    mChannels = sound.channels;
    if (sound.samples.size() > static_cast<std::size_t>(INT_MAX)) {
        MG_ERROR("mgExternalError: Audio file \"%s\" holds more samples than one OpenAL buffer takes.",
                 mFilePath.c_str());
        return;
    }
    mDataSize = static_cast<std::uint32_t>(sound.samples.size());
    // Without a current context (no audio device) the sound is checked but there is nowhere to
    // put it; every OpenAL call would only report that there is no context.
    if (mDataSize == 0 || alcGetCurrentContext() == nullptr) {
        return;
    }
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    MG_CHECK_OPENAL();
    alBufferData(buffer, GetFormat(), sound.samples.data(), static_cast<ALsizei>(mDataSize),
                 static_cast<ALsizei>(mSampleRate));
    MG_CHECK_OPENAL();
    mBuffer = buffer;
}

std::int32_t OpenALFormat(std::int32_t channels, std::int32_t bitsPerSample)
{
    if (channels == 1) {
        return bitsPerSample == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16;
    }
    if (channels == 2) {
        return bitsPerSample == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16;
    }
    return 0;
}

const char* OpenALErrorName(std::int32_t errorCode)
{
    switch (errorCode) {
    case AL_NO_ERROR:
        return "AL_NO_ERROR";
    case AL_INVALID_NAME:
        return "AL_INVALID_NAME";
    case AL_INVALID_ENUM:
        return "AL_INVALID_ENUM";
    case AL_INVALID_VALUE:
        return "AL_INVALID_VALUE";
    case AL_INVALID_OPERATION:
        return "AL_INVALID_OPERATION";
    case AL_OUT_OF_MEMORY:
        return "AL_OUT_OF_MEMORY";
    default:
        return "UNKNOWN_OPENAL_ERROR";
    }
}

void CheckOpenALError(const char* unitName, int line)
{
    const ALenum error = alGetError();
    if (error != AL_NO_ERROR) {
        Marrowgate::Core::Error::TriggerError(unitName, line, "ERROR: %s from:    File: %s : Line: %d",
                                              OpenALErrorName(error), unitName, line);
    }
}

} // namespace mgImplementation
