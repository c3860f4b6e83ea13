#pragma once
/// AudioChannel: one sound that is playing, as PlaySound and PlayEvent return it, and the
/// controls a game has over it while it plays.
/// @file
/// A channel is a plain value (the sound's handle and the player's identifier) that may be
/// copied and kept. Identifiers are never handed out twice in a run, so a kept channel never
/// reaches another sound: once its sound has ended (played out, stopped, faded out and stopped)
/// every control does nothing and IsPlaying answers false. A channel with identifier 0 (nothing
/// was started: no device, 32 sounds already playing, a bad request) behaves the same way.
///
/// Levels are linear gains from 0 (silent) to 1 (as recorded); a sound's gain is its own
/// volume times its bus's (music or effects) times the master volume. A request out of range
/// (a volume of NaN, below 0 or above 1, a pitch of 0 or below, a pan outside -1 to 1, a fade of
/// negative length) is reported through the error facility, naming the value, and changes
/// nothing.
///
/// Depends on the core and math layers; main thread only.
///
/// Known limits: pan and position place mono sounds only; a stereo sound plays as recorded.

#include "marrowgate/math/mg_vector.h"

#include <cstdint>
#include <functional>

namespace Marrowgate::Audio {

// Identifies a loaded sound; handles count 1, 2, 3, ... in order of first load.
using AudioHandle = std::uint32_t;
inline constexpr AudioHandle kInvalidAudioHandle = 0;

// What PlaySound started. A channelIdentifier of 0 means that no player was started.
struct AudioChannel
{
    AudioHandle handle = kInvalidAudioHandle;
    std::uint32_t channelIdentifier = 0;

    // True from the start until the sound has ended; a paused sound still plays.
    bool IsPlaying() const;
    bool IsPaused() const;
    bool IsLooping() const;

    // Ends the sound at once; the channel is free from the next fixed step.
    void Stop() const;
    // Holds the sound where it is, and lets it go on from there.
    void Pause() const;
    void Resume() const;

    // The channel's own volume, 0 to 1; ends a fade that is running.
    void SetVolume(float volume) const;
    // The channel's own volume (where a fade has got to, while one runs); 0 once it has ended.
    float GetVolume() const;
    // Playback speed: 2 is an octave up and half as long; above 0.
    void SetPitch(float pitch) const;
    // -1 is full left, 0 the middle, 1 full right (mono sounds that play in 2D).
    void SetPan(float pan) const;

    // Moves the volume to `volume` evenly over `seconds` of fixed steps (0 seconds: at once).
    void FadeTo(float volume, float seconds) const;
    // From silence up to the volume it has now.
    void FadeIn(float seconds) const;
    // Down to silence, then stops: the channel is free when the fade ends.
    void FadeOutAndStop(float seconds) const;

    // 3D sounds (PlaySoundAt, PlayEventAt): their place and speed in the world. Velocity only
    // matters while doppler is on.
    void SetPosition(const Core::Vector3& position) const;
    void SetVelocity(const Core::Vector3& velocity) const;
    // Moves a 3D sound to where `position` says, once per fixed step (before the step's sound
    // update) until the sound ends or the follow is replaced; the velocity follows from the
    // movement. The function must stay valid that long (StopFollowing ends it early).
    void Follow(std::function<Core::Vector3()> position) const;
    void StopFollowing() const;
};

} // namespace Marrowgate::Audio
