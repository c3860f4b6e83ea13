#include "marrowgate/audio/implementation/mgi_audio_player.h"

#include "marrowgate/audio/implementation/mgi_vorbis_stream.h"
#include "marrowgate/core/mg_error.h"

#include <AL/al.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace mgImplementation {
namespace {

constexpr char kUnitName[] = "mgi_audio_player";

constexpr std::uint32_t kSecondsPerStreamBuffer = 3;
// A 2D sound sits this far from the listener, well inside the reference distance, so it plays
// at full level wherever the listener is; pan turns it from straight above to one side.
constexpr float kBesideListener = 0.1f;
// Above any rate a sound card plays; a file claiming more is damaged, and its stream buffers
// would be absurdly large.
constexpr std::uint32_t kHighestStreamSampleRate = 384000;

} // namespace

struct AudioPlayer::StreamState : Marrowgate::Core::Noncopyable
{
    explicit StreamState(const AudioData& data)
        : stream(data.GetFilePath()),
          samples(static_cast<std::size_t>(kSecondsPerStreamBuffer) * data.GetSampleRate() *
                  static_cast<std::size_t>(data.GetChannels()))
    {
        alGenBuffers(static_cast<ALsizei>(buffers.size()), buffers.data());
        MG_CHECK_OPENAL();
    }

    ~StreamState()
    {
        alDeleteBuffers(static_cast<ALsizei>(buffers.size()), buffers.data());
        MG_CHECK_OPENAL();
    }

    VorbisStream stream;
    // One buffer's worth: three seconds of every channel, interleaved.
    std::vector<std::int16_t> samples;
    std::array<ALuint, 2> buffers{};
};

AudioPlayer::AudioPlayer(std::uint32_t channelIdentifier) : mChannelIdentifier(channelIdentifier)
{
    ALuint source = 0;
    alGenSources(1, &source);
    MG_CHECK_OPENAL();
    mSource = source;

    // Every sound sits just above the listener, relative to it and well inside the reference
    // distance, so it plays at full level wherever the listener is.
    alSourcei(source, AL_SOURCE_RELATIVE, 1);
    MG_CHECK_OPENAL();
    alSourcei(source, AL_ROLLOFF_FACTOR, 1);
    MG_CHECK_OPENAL();
    alSourcef(source, AL_REFERENCE_DISTANCE, 100.0f);
    MG_CHECK_OPENAL();
    alSourcef(source, AL_MAX_DISTANCE, 110.0f);
    MG_CHECK_OPENAL();
    alSourcef(source, AL_PITCH, 1.0f);
    MG_CHECK_OPENAL();
    alSourcef(source, AL_GAIN, LiveAudioVolume(mMusic));
    MG_CHECK_OPENAL();
    alSource3f(source, AL_POSITION, 0.0f, kBesideListener, 0.0f);
    MG_CHECK_OPENAL();
    alSource3f(source, AL_VELOCITY, 0.0f, 0.0f, 0.0f);
    MG_CHECK_OPENAL();
}

AudioPlayer::~AudioPlayer()
{
    // The source goes first: buffers still queued on a source cannot be deleted.
    const ALuint source = mSource;
    alDeleteSources(1, &source);
    MG_CHECK_OPENAL();
    mStreamState.reset();
    mAudioData.reset();
}

void AudioPlayer::Play(std::shared_ptr<AudioData> data, bool looping)
{
    MG_ERROR_IF(mAudioData != nullptr, "mgInternalError: This player already has valid audio data.");
    if (data == nullptr) {
        MG_ERROR("mgInternalError: Expected valid AudioData in this AudioPlayer.");
        return;
    }
    mAudioData = std::move(data);
    // Known before the first fill, so that a looping stream wraps from its very first buffer.
    mLooping = looping;

    alSourceRewind(mSource);
    MG_CHECK_OPENAL();
    alSourcei(mSource, AL_BUFFER, 0);
    MG_CHECK_OPENAL();

    const bool streaming = mAudioData->IsStreaming();
    if (streaming) {
        StartStream();
    } else if (mAudioData->GetBuffer() != 0) {
        ALuint buffer = mAudioData->GetBuffer();
        alSourceQueueBuffers(mSource, 1, &buffer);
        MG_CHECK_OPENAL();
    }

    // A stream loops by rewinding its decoder; OpenAL's own looping would replay one buffer.
    alSourcei(mSource, AL_LOOPING, looping && !streaming ? 1 : 0);
    MG_CHECK_OPENAL();
    alSourcePlay(mSource);
    MG_CHECK_OPENAL();
}

void AudioPlayer::StartStream()
{
    const AudioData& data = *mAudioData;
    const bool playable = OpenALFormat(data.GetChannels(), data.GetBitsPerSample()) != 0 &&
                          data.GetSampleRate() > 0 && data.GetSampleRate() <= kHighestStreamSampleRate;
    if (!playable) {
        return; // Reported when the data was loaded; nothing is queued, so the player finishes.
    }
    if (mStreamState == nullptr) {
        mStreamState = std::make_unique<StreamState>(data);
    }
    for (const ALuint buffer : mStreamState->buffers) {
        FillBuffer(buffer);
    }
}

// Decodes the next piece of the stream into `buffer` and queues it; false at the end of a
// non-looping stream, when nothing is queued.
bool AudioPlayer::FillBuffer(std::uint32_t buffer)
{
    if (mAudioData == nullptr) {
        MG_ERROR("mgInternalError: Expected valid AudioData in this AudioPlayer.");
        return false;
    }
    if (!mAudioData->IsStreaming() || mStreamState == nullptr) {
        MG_ERROR("mgInternalError: Expected AudioData to be for a streaming audio.");
        return false;
    }
    const int channels = mAudioData->GetChannels();
    const std::uint32_t frames = mStreamState->stream.Read(mStreamState->samples, channels, mLooping);
    if (frames == 0) {
        return false;
    }
    const auto byteCount = static_cast<ALsizei>(static_cast<std::size_t>(frames) *
                                                static_cast<std::size_t>(channels) * sizeof(std::int16_t));
    ALuint name = buffer;
    alBufferData(name, mAudioData->GetFormat(), mStreamState->samples.data(), byteCount,
                 static_cast<ALsizei>(mAudioData->GetSampleRate()));
    MG_CHECK_OPENAL();
    alSourceQueueBuffers(mSource, 1, &name);
    MG_CHECK_OPENAL();
    return true;
}

void AudioPlayer::Update()
{
    if (mStopped) {
        return;
    }
    ALint processed = 0;
    alGetSourcei(mSource, AL_BUFFERS_PROCESSED, &processed);
    MG_CHECK_OPENAL();
    // Both stream buffers done means the source ran dry between two updates.
    const bool starved = processed == 2;

    for (ALint index = 0; index < processed; ++index) {
        const bool streaming = mAudioData != nullptr && mAudioData->IsStreaming();
        if (!streaming && mLooping) {
            break;
        }
        ALuint buffer = 0;
        alSourceUnqueueBuffers(mSource, 1, &buffer);
        MG_CHECK_OPENAL();
        if (streaming) {
            FillBuffer(buffer);
        } else {
            mAudioData.reset();
        }
    }

    if (starved) {
        ALint state = 0;
        alGetSourcei(mSource, AL_SOURCE_STATE, &state);
        MG_CHECK_OPENAL();
        if (state == AL_STOPPED) {
            alSourcePlay(mSource);
            MG_CHECK_OPENAL();
        }
    }
}

std::array<std::uint32_t, 2> AudioPlayer::GetStreamBuffers() const
{
    if (mStreamState == nullptr) {
        return {0, 0};
    }
    return {mStreamState->buffers[0], mStreamState->buffers[1]};
}

bool AudioPlayer::IsFinished() const
{
    ALint state = 0;
    alGetSourcei(mSource, AL_SOURCE_STATE, &state);
    MG_CHECK_OPENAL();
    ALint queued = 0;
    alGetSourcei(mSource, AL_BUFFERS_QUEUED, &queued);
    MG_CHECK_OPENAL();
    return state == AL_STOPPED || (queued == 0 && !mLooping);
}

void AudioPlayer::SetMusic(bool music)
{
    mMusic = music;
    ApplyGain();
}

void AudioPlayer::ApplyGain()
{
    const float gain = std::clamp(LiveAudioVolume(mMusic) * GetVolume(), 0.0f, 1.0f);
    alSourcef(mSource, AL_GAIN, gain);
    MG_CHECK_OPENAL();
}

void AudioPlayer::SetVolume(float volume)
{
    mFade.reset();
    mVolume = volume;
    ApplyGain();
}

float AudioPlayer::GetVolume() const
{
    return mFade ? mFade->GetGain() : mVolume;
}

void AudioPlayer::SetPitch(float pitch)
{
    alSourcef(mSource, AL_PITCH, pitch);
    MG_CHECK_OPENAL();
}

void AudioPlayer::SetPan(float pan)
{
    if (mInWorld) {
        return; // a 3D sound's side comes from where it is
    }
    const float angle = pan * std::numbers::pi_v<float> / 2.0f;
    alSource3f(mSource, AL_POSITION, kBesideListener * std::sin(angle), kBesideListener * std::cos(angle),
               0.0f);
    MG_CHECK_OPENAL();
}

void AudioPlayer::FadeTo(float endVolume, float seconds, RampShape shape, bool stopAtEnd)
{
    mFade.emplace(GetVolume(), endVolume, seconds, shape);
    mStopAtFadeEnd = stopAtEnd;
    // A fade of no length ends here rather than a step later.
    Advance(0.0f);
}

void AudioPlayer::Advance(float elapsedSeconds)
{
    if (mStopped) {
        return;
    }
    if (mFollow) {
        const Marrowgate::Core::Vector3 position = mFollow();
        if (mFollowedPosition && elapsedSeconds > 0.0f) {
            SetVelocity((position - *mFollowedPosition) / elapsedSeconds);
        }
        mFollowedPosition = position;
        SetPosition(position);
    }
    if (!mFade || mHeld) {
        return;
    }
    mFade->Advance(elapsedSeconds);
    if (!mFade->IsDone()) {
        ApplyGain();
        return;
    }
    mVolume = mFade->GetEndGain();
    mFade.reset();
    ApplyGain();
    if (mStopAtFadeEnd) {
        Stop();
    }
}

void AudioPlayer::Stop()
{
    mStopped = true;
    mFollow = nullptr;
    alSourceStop(mSource);
    MG_CHECK_OPENAL();
}

void AudioPlayer::SetHeld(bool held, bool managerPaused)
{
    mHeld = held;
    if (mStopped) {
        return;
    }
    ALint state = 0;
    alGetSourcei(mSource, AL_SOURCE_STATE, &state);
    MG_CHECK_OPENAL();
    if (held && state == AL_PLAYING) {
        alSourcePause(mSource);
        MG_CHECK_OPENAL();
    } else if (!held && !managerPaused && state == AL_PAUSED) {
        alSourcePlay(mSource);
        MG_CHECK_OPENAL();
    }
}

void AudioPlayer::PlaceInWorld(float referenceDistance, float maximumDistance, float rolloffFactor)
{
    mInWorld = true;
    alSourcei(mSource, AL_SOURCE_RELATIVE, 0);
    MG_CHECK_OPENAL();
    alSourcef(mSource, AL_REFERENCE_DISTANCE, referenceDistance);
    MG_CHECK_OPENAL();
    alSourcef(mSource, AL_MAX_DISTANCE, maximumDistance);
    MG_CHECK_OPENAL();
    alSourcef(mSource, AL_ROLLOFF_FACTOR, rolloffFactor);
    MG_CHECK_OPENAL();
}

void AudioPlayer::SetPosition(const Marrowgate::Core::Vector3& position)
{
    alSource3f(mSource, AL_POSITION, position.x, position.y, position.z);
    MG_CHECK_OPENAL();
}

void AudioPlayer::SetVelocity(const Marrowgate::Core::Vector3& velocity)
{
    alSource3f(mSource, AL_VELOCITY, velocity.x, velocity.y, velocity.z);
    MG_CHECK_OPENAL();
}

void AudioPlayer::Follow(std::function<Marrowgate::Core::Vector3()> position)
{
    mFollow = std::move(position);
    mFollowedPosition.reset();
    if (mFollow) {
        Advance(0.0f);
    }
}

} // namespace mgImplementation
