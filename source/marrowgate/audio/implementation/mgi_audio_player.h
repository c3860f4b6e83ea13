#pragma once
// One OpenAL source playing one AudioData, once or in a loop. A whole sound plays from its one
// buffer; a streaming sound is decoded into two rotating buffers of three seconds each, and
// Update refills whichever OpenAL has finished. Players are made and advanced only by the
// audio manager, once per fixed step, until IsFinished.
//
// Besides playing, a player holds what a channel controls: its own volume (with a fade that
// may run towards another and stop at the end), pitch, pan, a hold (pause) of its own, and for
// a 3D sound its place in the world, which a follow function may move every step. Its gain on
// the source is its volume times the live manager's bus and master levels.
//
// Depends on AudioData, the Vorbis stream and the gain ramp; AL names travel as plain integers.
//
// Known limits: needs a current OpenAL context for its whole life. A looping player never
// finishes on its own.

#include "marrowgate/audio/implementation/mgi_audio_data.h"
#include "marrowgate/audio/implementation/mgi_gain_ramp.h"
#include "marrowgate/core/mg_noncopyable.h"
#include "marrowgate/math/mg_vector.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace mgImplementation {

class VorbisStream;

class AudioPlayer : Marrowgate::Core::Noncopyable
{
public:
    explicit AudioPlayer(std::uint32_t channelIdentifier);
    ~AudioPlayer();

    void Play(std::shared_ptr<AudioData> data, bool looping);
    void Update();
    bool IsFinished() const;

    // The manager flags a music player right after making it.
    void SetMusic(bool music);
    bool IsMusic() const { return mMusic; }
    bool IsLooping() const { return mLooping; }

    // Sets the source's gain from the volume and the live bus and master levels; the manager
    // calls it when those levels change.
    void ApplyGain();
    void SetVolume(float volume);
    float GetVolume() const;
    void SetPitch(float pitch);
    void SetPan(float pan);
    // Runs the volume towards endVolume; with stopAtEnd the player stops when it gets there.
    void FadeTo(float endVolume, float seconds, RampShape shape, bool stopAtEnd);
    // One fixed step: the fade moves on and a follow function places the sound.
    void Advance(float elapsedSeconds);
    void Stop();
    // A hold of the player's own (a paused channel), apart from the manager's pause of all.
    void SetHeld(bool held, bool managerPaused);
    bool IsHeld() const { return mHeld; }

    // Makes the sound a 3D one, placed in the world instead of beside the listener.
    void PlaceInWorld(float referenceDistance, float maximumDistance, float rolloffFactor);
    bool IsInWorld() const { return mInWorld; }
    void SetPosition(const Marrowgate::Core::Vector3& position);
    void SetVelocity(const Marrowgate::Core::Vector3& velocity);
    void Follow(std::function<Marrowgate::Core::Vector3()> position);

    std::uint32_t GetChannelIdentifier() const { return mChannelIdentifier; }
    std::uint32_t GetSource() const { return mSource; }
    bool HoldsAudioData() const { return mAudioData != nullptr; }
    // The two buffers a stream rotates through; both 0 before a stream starts.
    std::array<std::uint32_t, 2> GetStreamBuffers() const;

private:
    struct StreamState;

    void StartStream();
    bool FillBuffer(std::uint32_t buffer);

    std::shared_ptr<AudioData> mAudioData;
    std::unique_ptr<StreamState> mStreamState;
    std::uint32_t mChannelIdentifier = 0;
    std::uint32_t mSource = 0;
    bool mMusic = false;
    bool mLooping = false;
    // Stopped on request: a stream must not refill and restart itself after that.
    bool mStopped = false;
    bool mHeld = false;
    bool mInWorld = false;
    float mVolume = 1.0f;
    std::optional<GainRamp> mFade;
    bool mStopAtFadeEnd = false;
    std::function<Marrowgate::Core::Vector3()> mFollow;
    std::optional<Marrowgate::Core::Vector3> mFollowedPosition;
};

// The live audio manager's master level times its music or effects bus; 1 while no manager is
// live.
float LiveAudioVolume(bool music);

} // namespace mgImplementation
