#include "marrowgate/audio/mg_audio_manager.h"

#include "marrowgate/audio/implementation/mgi_audio_data.h"
#include "marrowgate/audio/implementation/mgi_audio_manager_record.h"
#include "marrowgate/audio/implementation/mgi_audio_player.h"
#include "marrowgate/audio/implementation/mgi_level_checks.h"
#include "marrowgate/core/mg_error.h"

#include <AL/al.h>

#include <cmath>

namespace mgImplementation {
namespace {

constexpr char kUnitName[] = "mg_audio_spatial";

} // namespace

void ApplyListener(const ListenerPlacement& listener)
{
    alListenerfv(AL_POSITION, listener.position.Data());
    MG_CHECK_OPENAL();
    alListenerfv(AL_VELOCITY, listener.velocity.Data());
    MG_CHECK_OPENAL();
    const ALfloat orientation[] = {listener.forward.x, listener.forward.y, listener.forward.z,
                                   listener.up.x,      listener.up.y,      listener.up.z};
    alListenerfv(AL_ORIENTATION, orientation);
    MG_CHECK_OPENAL();
}

} // namespace mgImplementation

namespace Marrowgate::Audio {

using mgImplementation::kUnitName;

void AudioManager::SetListener(const Core::Vector3& position, const Core::Vector3& forward,
                               const Core::Vector3& up, const Core::Vector3& velocity)
{
    const bool accepted = mgImplementation::IsAcceptedVector(position, "listener position") &&
                          mgImplementation::IsAcceptedVector(forward, "listener forward direction") &&
                          mgImplementation::IsAcceptedVector(up, "listener up direction") &&
                          mgImplementation::IsAcceptedVector(velocity, "listener velocity");
    if (!accepted) {
        return;
    }
    // Left and right are the cross product of the two; without one there is no side to hear from.
    if (Core::CrossProduct(forward, up).MagnitudeSquared() <= 0.0f) {
        MG_ERROR(
            "mgExternalError: The listener's forward (%g, %g, %g) and up (%g, %g, %g) directions must be "
            "non-zero and not parallel.",
            static_cast<double>(forward.x), static_cast<double>(forward.y), static_cast<double>(forward.z),
            static_cast<double>(up.x), static_cast<double>(up.y), static_cast<double>(up.z));
        return;
    }
    mRecord->listener = {position, forward, up, velocity};
    if (mRecord->usable) {
        mgImplementation::ApplyListener(mRecord->listener);
    }
}

void AudioManager::SetSoundDistances(const SoundDistances& distances)
{
    const bool accepted = distances.referenceDistance > 0.0f &&
                          distances.maximumDistance >= distances.referenceDistance &&
                          distances.rolloffFactor >= 0.0f && std::isfinite(distances.maximumDistance) &&
                          std::isfinite(distances.rolloffFactor);
    if (!accepted) {
        MG_ERROR(
            "mgExternalError: Sound distances need 0 < reference (%g) <= maximum (%g), both finite, and a "
            "rolloff of 0 or more (%g).",
            static_cast<double>(distances.referenceDistance), static_cast<double>(distances.maximumDistance),
            static_cast<double>(distances.rolloffFactor));
        return;
    }
    mRecord->distances = distances;
    for (const mgImplementation::ActivePlayer& entry : mRecord->activePlayers) {
        if (entry.player->IsInWorld()) {
            entry.player->PlaceInWorld(distances.referenceDistance, distances.maximumDistance,
                                       distances.rolloffFactor);
        }
    }
}

const SoundDistances& AudioManager::GetSoundDistances() const
{
    return mRecord->distances;
}

void AudioManager::SetDoppler(bool enabled)
{
    mRecord->doppler = enabled;
    if (mRecord->usable) {
        alDopplerFactor(enabled ? 1.0f : 0.0f);
        MG_CHECK_OPENAL();
    }
}

bool AudioManager::IsDopplerEnabled() const
{
    return mRecord->doppler;
}

} // namespace Marrowgate::Audio
