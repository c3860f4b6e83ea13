#include "marrowgate/audio/mg_audio_manager.h"

#include "marrowgate/audio/implementation/mgi_audio_data.h"
#include "marrowgate/audio/implementation/mgi_audio_event_table.h"
#include "marrowgate/audio/implementation/mgi_audio_library_logs.h"
#include "marrowgate/audio/implementation/mgi_audio_player.h"
#include "marrowgate/core/mg_error.h"
#include "marrowgate/core/mg_json_parser.h"

#include "embedded/marrowgate_logo_sound.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <cstdio>
#include <list>

namespace mgImplementation {

struct ActivePlayer
{
    std::shared_ptr<AudioPlayer> player;
    Marrowgate::Audio::AudioHandle handle = Marrowgate::Audio::kInvalidAudioHandle;
};

struct AudioManagerRecord
{
    std::map<std::string, std::shared_ptr<CachedAudioData>> soundsByPath;
    std::map<Marrowgate::Audio::AudioHandle, std::shared_ptr<CachedAudioData>> soundsByHandle;
    std::list<ActivePlayer> activePlayers;
    std::map<std::string, Marrowgate::Audio::EventTable> eventTables;
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    // True once the context is current: only then may OpenAL be called at all.
    bool usable = false;
    // Opening is tried once; a machine without a sound card is told so only once.
    bool openTried = false;
    std::uint32_t channelCounter = 0;
    float effectVolume = 1.0f;
    float musicVolume = 1.0f;
    bool paused = false;
};

namespace {

constexpr char kUnitName[] = "mg_audio_manager";

constexpr std::size_t kMaximumActivePlayers = 32;

// The live manager's record; constant-initialised, so it is valid before any constructor runs.
AudioManagerRecord* sLiveRecord = nullptr;

void OpenDevice(AudioManagerRecord& record)
{
    record.openTried = true;
    QuietAudioLibraries();
    record.device = alcOpenDevice(nullptr);
    if (record.device == nullptr) {
        MG_ERROR("AudioManager could not create the default audio device.");
        std::fprintf(stderr, "Audio: no audio device, the program runs silently\n");
        return;
    }
    record.context = alcCreateContext(record.device, nullptr);
    if (record.context == nullptr) {
        MG_ERROR("AudioManager could not create an audio context.");
        return;
    }
    if (alcMakeContextCurrent(record.context) == ALC_FALSE) {
        MG_ERROR("AudioManager could not set audio context.");
        return;
    }
    record.usable = true;

    const ALfloat origin[] = {0.0f, 0.0f, 0.0f};
    alListenerfv(AL_POSITION, origin);
    MG_CHECK_OPENAL();
    alListenerfv(AL_VELOCITY, origin);
    MG_CHECK_OPENAL();
    const ALfloat orientation[] = {0.0f, 0.0f, -1.0f, 0.0f, 1.0f, 0.0f};
    alListenerfv(AL_ORIENTATION, orientation);
    MG_CHECK_OPENAL();
    if (IsAudioVerbose()) {
        std::fprintf(stderr, "Audio device: %s\n", alcGetString(record.device, ALC_DEVICE_SPECIFIER));
    }
}

void OpenDeviceOnce(AudioManagerRecord& record)
{
    if (!record.openTried) {
        OpenDevice(record);
    }
}

// Players go first (their sources hold the sounds' buffers), then the sounds (whose buffers
// need the context), then the context and the device.
void ReleaseEverything(AudioManagerRecord& record)
{
    while (!record.activePlayers.empty()) {
        record.activePlayers.pop_back();
    }
    record.soundsByHandle.clear();
    record.soundsByPath.clear();
    record.eventTables.clear();
    if (record.usable) {
        alcMakeContextCurrent(nullptr);
    }
    if (record.context != nullptr) {
        alcDestroyContext(record.context);
    }
    if (record.device != nullptr) {
        alcCloseDevice(record.device);
    }
    record.device = nullptr;
    record.context = nullptr;
    record.usable = false;
}

void RegisterLogoSound(AudioManagerRecord& record)
{
    const std::span<const unsigned char> image = marrowgate_logo_sound();
    auto data = std::make_shared<AudioData>(image.data(), image.size());
    if (data->GetDataSize() == 0) {
        return;
    }
    Marrowgate::Audio::theLogoSound =
        static_cast<Marrowgate::Audio::AudioHandle>(record.soundsByHandle.size() + 1);
    record.soundsByHandle[Marrowgate::Audio::theLogoSound] = std::make_shared<CachedAudioData>(
        CachedAudioData{"", std::move(data), Marrowgate::Audio::theLogoSound, 0});
}

// With every source held the device would still mix silence in real time; where the driver
// allows, it stops mixing too, so a paused game costs no CPU for sound.
void PauseDeviceMixing(ALCdevice* device, bool paused)
{
    if (device == nullptr || alcIsExtensionPresent(device, "ALC_SOFT_pause_device") == ALC_FALSE) {
        return;
    }
    const char* name = paused ? "alcDevicePauseSOFT" : "alcDeviceResumeSOFT";
    if (const auto function = reinterpret_cast<LPALCDEVICEPAUSESOFT>(alcGetProcAddress(device, name))) {
        function(device);
    }
}

} // namespace

float LiveAudioVolume(bool music)
{
    if (sLiveRecord == nullptr) {
        return 1.0f;
    }
    return music ? sLiveRecord->musicVolume : sLiveRecord->effectVolume;
}

} // namespace mgImplementation

namespace Marrowgate::Audio {

using mgImplementation::kUnitName;

AudioManager theAudioManager;
AudioHandle theLogoSound = kInvalidAudioHandle;

AudioManager::AudioManager() : mRecord(std::make_unique<mgImplementation::AudioManagerRecord>())
{
    // The destructor runs during static destruction and may still report; touching the error
    // facility now makes it outlive this manager.
    Core::Error::GetLastErrorLine();
    MG_ERROR_IF(mgImplementation::sLiveRecord != nullptr,
                "mgError: There are more than one AudioManager objects in existence. There can only be one.");
    mgImplementation::sLiveRecord = mRecord.get();
}

void AudioManager::Open()
{
    mgImplementation::OpenDeviceOnce(*mRecord);
}

AudioManager::~AudioManager()
{
    mgImplementation::ReleaseEverything(*mRecord);
    if (mgImplementation::sLiveRecord == mRecord.get()) {
        mgImplementation::sLiveRecord = nullptr;
    }
}

void AudioManager::Restart()
{
    mgImplementation::ReleaseEverything(*mRecord);
    mRecord->channelCounter = 0;
    mRecord->paused = false;
    theLogoSound = kInvalidAudioHandle;
    mgImplementation::OpenDevice(*mRecord);
}

bool AudioManager::LoadEventTable(const std::string& tableName, const std::string& filePath)
{
    if (mRecord->eventTables.contains(tableName)) {
        MG_ERROR("EventTable \"%s\" has already been loaded.", tableName.c_str());
        return false;
    }
    const Core::DynamicStructure document = Core::LoadJsonFile(filePath);
    EventTable table;
    const auto loadSound = [this](const std::string& soundPath) { return CreateSoundFromFile(soundPath); };
    if (!mgImplementation::ReadEventTable(document, tableName, filePath, loadSound, table)) {
        return false;
    }
    mRecord->eventTables.emplace(tableName, std::move(table));
    return true;
}

AudioHandle AudioManager::CreateSoundFromFile(const std::string& filePath)
{
    mgImplementation::AudioManagerRecord& record = *mRecord;
    if (const auto found = record.soundsByPath.find(filePath); found != record.soundsByPath.end()) {
        ++found->second->referenceCount;
        return found->second->handle;
    }
    // The sound is uploaded while it is read, so the device must be there first.
    mgImplementation::OpenDeviceOnce(record);
    const auto handle = static_cast<AudioHandle>(record.soundsByHandle.size() + 1);
    auto cached = std::make_shared<mgImplementation::CachedAudioData>(mgImplementation::CachedAudioData{
        filePath, std::make_shared<mgImplementation::AudioData>(filePath, false), handle, 1});
    record.soundsByPath[filePath] = cached;
    record.soundsByHandle[handle] = std::move(cached);
    return handle;
}

AudioChannel AudioManager::PlaySound(const AudioHandle& handle, bool looping, bool music)
{
    mgImplementation::AudioManagerRecord& record = *mRecord;
    mgImplementation::OpenDeviceOnce(record);
    if (theLogoSound == kInvalidAudioHandle) {
        mgImplementation::RegisterLogoSound(record);
    }
    MG_ERROR_IF(handle == kInvalidAudioHandle,
                "mgExternalError: Attempting to play an invalid audio handle.");
    const auto found = record.soundsByHandle.find(handle);
    if (found == record.soundsByHandle.end()) {
        MG_ERROR("mgError: Unable to find audio handle to play, was it unloaded?");
        return {kInvalidAudioHandle, 0};
    }
    // Without a device the sound is known but nothing can sound: silently no channel.
    if (!record.usable || record.activePlayers.size() >= mgImplementation::kMaximumActivePlayers) {
        return {kInvalidAudioHandle, 0};
    }
    ++record.channelCounter;
    if (record.channelCounter == 0) {
        MG_ERROR("mgInternalError: Audio Channel Identifier Rolled Over.");
        ++record.channelCounter;
    }
    const std::uint32_t channelIdentifier = record.channelCounter;
    auto player = std::make_shared<mgImplementation::AudioPlayer>(channelIdentifier);
    record.activePlayers.push_back({player, handle});
    player->SetMusic(music);
    player->Play(found->second->audioData, looping);
    return {handle, channelIdentifier};
}

void AudioManager::Update()
{
    std::list<mgImplementation::ActivePlayer>& players = mRecord->activePlayers;
    for (auto entry = players.begin(); entry != players.end();) {
        entry->player->Update();
        entry = entry->player->IsFinished() ? players.erase(entry) : std::next(entry);
    }
}

void AudioManager::SetPaused(bool paused)
{
    mgImplementation::AudioManagerRecord& record = *mRecord;
    if (record.paused == paused) {
        return;
    }
    record.paused = paused;
    if (!record.usable) {
        return;
    }
    // Only the players this pause stopped are started again; a finished one stays finished.
    for (const mgImplementation::ActivePlayer& entry : record.activePlayers) {
        const ALuint source = entry.player->GetSource();
        ALint state = 0;
        alGetSourcei(source, AL_SOURCE_STATE, &state);
        if (paused && state == AL_PLAYING) {
            alSourcePause(source);
        } else if (!paused && state == AL_PAUSED) {
            alSourcePlay(source);
        }
    }
    mgImplementation::PauseDeviceMixing(record.device, paused);
}

bool AudioManager::IsPaused() const
{
    return mRecord->paused;
}

const EventTable* AudioManager::FindEventTable(const std::string& tableName) const
{
    const auto found = mRecord->eventTables.find(tableName);
    return found == mRecord->eventTables.end() ? nullptr : &found->second;
}

const mgImplementation::CachedAudioData* AudioManager::FindSound(AudioHandle handle) const
{
    const auto found = mRecord->soundsByHandle.find(handle);
    return found == mRecord->soundsByHandle.end() ? nullptr : found->second.get();
}

std::size_t AudioManager::GetActivePlayerCount() const
{
    return mRecord->activePlayers.size();
}

bool AudioManager::HasDevice() const
{
    mgImplementation::OpenDeviceOnce(*mRecord);
    return mRecord->usable;
}

} // namespace Marrowgate::Audio
