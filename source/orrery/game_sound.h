#pragma once
/// 3D sound for the game kit: the listener follows Cinderhall's camera, and sounds can be
/// started on an Orrery entity and move with it.
/// @file
/// Sounds started here are the audio manager's 3D sounds: they fade with distance as
/// Marrowgate::Audio::SoundDistances describes and shift pitch with speed while doppler is on
/// (AudioManager::SetDoppler). 2D sounds (PlaySound, PlayEvent) are not affected by the
/// listener at all. World units are the entities' and the camera's.
///
/// Depends on the audio manager, Cinderhall's camera and this kit's entities. Main thread only.
///
/// Limits: a sound sits on the entity's position (the translation of its transform), not on a
/// point of its mesh. When the entity is destroyed first, a looping sound on it stops and a
/// one-shot plays out where the entity was last.

#include "marrowgate/audio/mg_audio_manager.h"
#include "marrowgate/math/mg_vector.h"

#include <optional>
#include <string>

namespace Cinderhall {
class cdhCamera;
}

namespace Orrery::Game {

class Entity;

// Keeps the listener on a camera: where it is, where it looks and which way is up.
class CameraListener
{
public:
    // Call once per frame after the camera has moved; the listener's velocity (for doppler)
    // comes from the camera's movement over deltaTime since the last call.
    void Follow(const Cinderhall::cdhCamera& camera, float deltaTime);

private:
    std::optional<Marrowgate::Core::Vector3> mLastPosition;
};

// Start the sound or the event (as AudioManager::PlaySound and PlayEvent do) at the entity's
// position; from then on it moves with the entity at every fixed step until it ends.
Marrowgate::Audio::AudioChannel PlaySoundOn(Entity& entity, Marrowgate::Audio::AudioHandle handle,
                                            bool looping);
Marrowgate::Audio::AudioChannel PlayEventOn(Entity& entity, const std::string& tableName,
                                            const std::string& eventName);

// For the entity's destructor: its sounds stop following it (looping ones stop).
void ReleaseEntitySounds(const Entity& entity);

} // namespace Orrery::Game
