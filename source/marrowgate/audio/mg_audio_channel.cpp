#include "marrowgate/audio/mg_audio_channel.h"

#include "marrowgate/audio/implementation/mgi_audio_player.h"
#include "marrowgate/audio/implementation/mgi_level_checks.h"
#include "marrowgate/audio/mg_audio_manager.h"

namespace Marrowgate::Audio {
namespace {

mgImplementation::AudioPlayer* LivePlayer(const AudioChannel& channel)
{
    return theAudioManager.FindPlayer(channel);
}

} // namespace

bool AudioChannel::IsPlaying() const
{
    const mgImplementation::AudioPlayer* player = LivePlayer(*this);
    return player != nullptr && !player->IsFinished();
}

bool AudioChannel::IsPaused() const
{
    const mgImplementation::AudioPlayer* player = LivePlayer(*this);
    return player != nullptr && player->IsHeld() && !player->IsFinished();
}

bool AudioChannel::IsLooping() const
{
    const mgImplementation::AudioPlayer* player = LivePlayer(*this);
    return player != nullptr && player->IsLooping();
}

void AudioChannel::Stop() const
{
    if (mgImplementation::AudioPlayer* player = LivePlayer(*this)) {
        player->Stop();
    }
}

void AudioChannel::Pause() const
{
    if (mgImplementation::AudioPlayer* player = LivePlayer(*this)) {
        player->SetHeld(true, theAudioManager.IsPaused());
    }
}

void AudioChannel::Resume() const
{
    if (mgImplementation::AudioPlayer* player = LivePlayer(*this)) {
        player->SetHeld(false, theAudioManager.IsPaused());
    }
}

void AudioChannel::SetVolume(float volume) const
{
    // Checked even for an ended channel: the mistake is the caller's either way.
    if (!mgImplementation::IsAcceptedVolume(volume, "channel volume")) {
        return;
    }
    if (mgImplementation::AudioPlayer* player = LivePlayer(*this)) {
        player->SetVolume(volume);
    }
}

float AudioChannel::GetVolume() const
{
    const mgImplementation::AudioPlayer* player = LivePlayer(*this);
    return player != nullptr ? player->GetVolume() : 0.0f;
}

void AudioChannel::SetPitch(float pitch) const
{
    if (!mgImplementation::IsAcceptedPitch(pitch)) {
        return;
    }
    if (mgImplementation::AudioPlayer* player = LivePlayer(*this)) {
        player->SetPitch(pitch);
    }
}

void AudioChannel::SetPan(float pan) const
{
    if (!mgImplementation::IsAcceptedPan(pan)) {
        return;
    }
    if (mgImplementation::AudioPlayer* player = LivePlayer(*this)) {
        player->SetPan(pan);
    }
}

void AudioChannel::FadeTo(float volume, float seconds) const
{
    if (!mgImplementation::IsAcceptedVolume(volume, "fade's end volume") ||
        !mgImplementation::IsAcceptedFadeLength(seconds)) {
        return;
    }
    if (mgImplementation::AudioPlayer* player = LivePlayer(*this)) {
        player->FadeTo(volume, seconds, mgImplementation::RampShape::kLinear, false);
    }
}

void AudioChannel::FadeIn(float seconds) const
{
    if (!mgImplementation::IsAcceptedFadeLength(seconds)) {
        return;
    }
    if (mgImplementation::AudioPlayer* player = LivePlayer(*this)) {
        const float volume = player->GetVolume();
        player->SetVolume(0.0f);
        player->FadeTo(volume, seconds, mgImplementation::RampShape::kLinear, false);
    }
}

void AudioChannel::FadeOutAndStop(float seconds) const
{
    if (!mgImplementation::IsAcceptedFadeLength(seconds)) {
        return;
    }
    if (mgImplementation::AudioPlayer* player = LivePlayer(*this)) {
        player->FadeTo(0.0f, seconds, mgImplementation::RampShape::kLinear, true);
    }
}

void AudioChannel::SetPosition(const Core::Vector3& position) const
{
    if (!mgImplementation::IsAcceptedVector(position, "sound position")) {
        return;
    }
    mgImplementation::AudioPlayer* player = LivePlayer(*this);
    if (player != nullptr && player->IsInWorld()) {
        player->SetPosition(position);
    }
}

void AudioChannel::SetVelocity(const Core::Vector3& velocity) const
{
    if (!mgImplementation::IsAcceptedVector(velocity, "sound velocity")) {
        return;
    }
    mgImplementation::AudioPlayer* player = LivePlayer(*this);
    if (player != nullptr && player->IsInWorld()) {
        player->SetVelocity(velocity);
    }
}

void AudioChannel::Follow(std::function<Core::Vector3()> position) const
{
    mgImplementation::AudioPlayer* player = LivePlayer(*this);
    if (player != nullptr && player->IsInWorld()) {
        player->Follow(std::move(position));
    }
}

void AudioChannel::StopFollowing() const
{
    if (mgImplementation::AudioPlayer* player = LivePlayer(*this)) {
        player->Follow(nullptr);
    }
}

} // namespace Marrowgate::Audio
