#include "marrowgate/audio/mg_audio_manager.h"

namespace mgImplementation {
struct AudioManagerRecord
{
};
struct CachedAudioData
{
};
} // namespace mgImplementation

namespace Marrowgate::Audio {

AudioManager theAudioManager;
AudioHandle theLogoSound = kInvalidAudioHandle;

AudioManager::AudioManager() : mRecord(std::make_unique<mgImplementation::AudioManagerRecord>()) {}
AudioManager::~AudioManager() = default;

bool AudioManager::LoadEventTable(const std::string&, const std::string&) { return false; }
AudioHandle AudioManager::CreateSoundFromFile(const std::string&) { return kInvalidAudioHandle; }
AudioChannel AudioManager::PlaySound(const AudioHandle&, bool, bool) { return {}; }
void AudioManager::Update() {}
const EventTable* AudioManager::FindEventTable(const std::string&) const { return nullptr; }
const mgImplementation::CachedAudioData* AudioManager::FindSound(AudioHandle) const { return nullptr; }
std::size_t AudioManager::GetActivePlayerCount() const { return 0; }
bool AudioManager::HasDevice() const { return false; }
void AudioManager::Restart() {}

} // namespace Marrowgate::Audio
