#include "marrowgate/audio/implementation/mgi_audio_data.h"

#include "marrowgate/audio/implementation/mgi_sound_decoder.h"
#include "marrowgate/audio/implementation/mgi_vorbis_stream.h"
#include "marrowgate/core/mg_data_file.h"
#include "marrowgate/core/mg_error.h"

#include <AL/al.h>
#include <AL/alc.h>

#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>

#include <algorithm>
#include <climits>
#include <vector>

namespace mgImplementation {
namespace {

constexpr char kUnitName[] = "mgi_audio_data";

using Marrowgate::Core::DataFile;

} // namespace

AudioData::AudioData(const std::string& filePath, bool streaming) : mFilePath(filePath)
{
    const Marrowgate::Core::Error::ReportSubject subject(filePath);
    // Streaming needs a file the Vorbis decoder can reopen later, so only Ogg files stream; the
    // name or the start of the file decides, so a streamed file is never read whole.
    if (streaming && IsOggVorbisPath(filePath)) {
        mStreaming = true;
        ReadStreamLayout();
        return;
    }
    // The reader reports, naming the file, every way in which a file cannot be opened or read;
    // the sound then stays empty without a second report of the same fault.
    DataFile file(filePath, Marrowgate::Core::kMaximumSoundFileBytes);
    std::vector<std::uint8_t> fileBytes(std::min<std::uint64_t>(file.GetSize(), 4));
    if (!file.IsOpen() || !file.ReadExactly(std::as_writable_bytes(std::span(fileBytes)))) {
        return;
    }
    if (streaming && StartsWithOggCapturePattern(fileBytes)) {
        mStreaming = true;
        ReadStreamLayout();
        return;
    }
    const std::size_t startBytes = fileBytes.size();
    fileBytes.resize(file.GetSize());
    if (file.ReadExactly(std::as_writable_bytes(std::span(fileBytes).subspan(startBytes)))) {
        LoadFromBytes(fileBytes.data(), fileBytes.size());
    }
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
    const auto [decoder, fileRefused] = OpenVorbisFile(mFilePath);
    if (decoder == nullptr) {
        MG_ERROR_IF(!fileRefused, "mgError: Was unable to initialize audio file for streaming, \"%s\".",
                    mFilePath.c_str());
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
