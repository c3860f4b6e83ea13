#include "marrowgate/audio/mg_audio_manager.h"

#include "marrowgate/audio/implementation/mgi_audio_data.h"
#include "marrowgate/audio/implementation/mgi_audio_event_table.h"
#include "marrowgate/audio/implementation/mgi_audio_library_logs.h"
#include "marrowgate/audio/implementation/mgi_audio_manager_record.h"
#include "marrowgate/audio/implementation/mgi_audio_player.h"
#include "marrowgate/audio/implementation/mgi_event_variation.h"
#include "marrowgate/audio/implementation/mgi_level_checks.h"
#include "marrowgate/core/mg_error.h"
#include "marrowgate/core/mg_json_parser.h"

#include "embedded/marrowgate_logo_sound.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <list>
#include <optional>
#include <utility>

namespace mgImplementation {

// What one start of a sound asks for.
struct StartRequest
{
    Marrowgate::Audio::AudioHandle handle = Marrowgate::Audio::kInvalidAudioHandle;
    bool looping = false;
    bool music = false;
    float volume = 1.0f;
    float pitch = 1.0f;
    std::optional<Marrowgate::Core::Vector3> worldPosition;
};

namespace {

constexpr char kUnitName[] = "mg_audio_manager";

using Marrowgate::Audio::AudioEventInfo;
using Marrowgate::Audio::AudioHandle;

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

    ApplyListener(record.listener);
    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
    MG_CHECK_OPENAL();
    alDopplerFactor(record.doppler ? 1.0f : 0.0f);
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
    record.streamsByPath.clear();
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

AudioHandle LoadSound(AudioManagerRecord& record, const std::string& filePath, bool streaming)
{
    std::map<std::string, std::shared_ptr<CachedAudioData>>& byPath =
        streaming ? record.streamsByPath : record.soundsByPath;
    if (const auto found = byPath.find(filePath); found != byPath.end()) {
        ++found->second->referenceCount;
        return found->second->handle;
    }
    // The sound is uploaded while it is read, so the device must be there first.
    OpenDeviceOnce(record);
    const auto handle = static_cast<AudioHandle>(record.soundsByHandle.size() + 1);
    auto cached = std::make_shared<CachedAudioData>(
        CachedAudioData{filePath, std::make_shared<AudioData>(filePath, streaming), handle, 1});
    byPath[filePath] = cached;
    record.soundsByHandle[handle] = std::move(cached);
    return handle;
}

void ApplyGains(const AudioManagerRecord& record)
{
    for (const ActivePlayer& entry : record.activePlayers) {
        entry.player->ApplyGain();
    }
}

// Starts a player as the request says. Without a device, or with 32 sounds playing, nothing
// starts and the channel is empty, without a report: both are normal states of a game.
Marrowgate::Audio::AudioChannel StartPlayer(AudioManagerRecord& record, const StartRequest& request)
{
    const auto found = record.soundsByHandle.find(request.handle);
    if (found == record.soundsByHandle.end()) {
        MG_ERROR("mgError: Unable to find audio handle to play, was it unloaded?");
        return {Marrowgate::Audio::kInvalidAudioHandle, 0};
    }
    if (!record.usable || record.activePlayers.size() >= kMaximumActivePlayers) {
        return {Marrowgate::Audio::kInvalidAudioHandle, 0};
    }
    ++record.channelCounter;
    if (record.channelCounter == 0) {
        MG_ERROR("mgInternalError: Audio Channel Identifier Rolled Over.");
        ++record.channelCounter;
    }
    const std::uint32_t channelIdentifier = record.channelCounter;
    auto player = std::make_shared<AudioPlayer>(channelIdentifier);
    record.activePlayers.push_back({player, request.handle});
    player->SetMusic(request.music);
    // Levels and place are set before the sound starts, so not one sample plays without them.
    if (request.volume != 1.0f) {
        player->SetVolume(request.volume);
    }
    if (request.pitch != 1.0f) {
        player->SetPitch(request.pitch);
    }
    if (request.worldPosition) {
        const Marrowgate::Audio::SoundDistances& distances = record.distances;
        player->PlaceInWorld(distances.referenceDistance, distances.maximumDistance, distances.rolloffFactor);
        player->SetPosition(*request.worldPosition);
    }
    player->Play(found->second->audioData, request.looping);
    return {request.handle, channelIdentifier};
}

// The start an event asks for, with its variant chosen and its levels drawn; nothing for an
// unknown table or event or levels no sound can play at (reported).
std::optional<StartRequest> RequestForEvent(AudioManagerRecord& record, const std::string& tableName,
                                            const std::string& eventName)
{
    const auto table = record.eventTables.find(tableName);
    if (table == record.eventTables.end()) {
        MG_ERROR("mgExternalError: No audio event table \"%s\" has been loaded (playing event \"%s\").",
                 tableName.c_str(), eventName.c_str());
        return std::nullopt;
    }
    const auto event = table->second.find(eventName);
    if (event == table->second.end() || event->second.empty()) {
        MG_ERROR("mgExternalError: The audio event table \"%s\" has no event \"%s\".", tableName.c_str(),
                 eventName.c_str());
        return std::nullopt;
    }
    const std::vector<AudioEventInfo>& variants = event->second;
    const auto [last, isNew] = record.lastVariants.try_emplace({tableName, eventName}, variants.size());
    last->second = ChooseVariant(variants.size(), last->second);
    const AudioEventInfo& variant = variants[last->second];
    const EventLevels levels = VaryLevels(variant);
    // The table's numbers are read as they stand, so a table can ask for what no sound can do.
    const bool playable = levels.volume >= 0.0f && std::isfinite(levels.volume) && levels.pitch > 0.0f &&
                          std::isfinite(levels.pitch);
    if (!playable) {
        MG_ERROR(
            "mgDataError: The audio event \"%s\" of table \"%s\" asks for volume %g and pitch %g; a volume "
            "must be 0 or more and a pitch above 0.",
            eventName.c_str(), tableName.c_str(), static_cast<double>(levels.volume),
            static_cast<double>(levels.pitch));
        return std::nullopt;
    }
    StartRequest request;
    request.handle = variant.handle;
    request.looping = variant.looping;
    request.music = variant.music;
    request.volume = std::min(levels.volume, 1.0f);
    request.pitch = levels.pitch;
    return request;
}

// With every source held the device would still mix silence in real time; where the driver
// allows, it stops mixing too, so a paused game costs no CPU for sound.
void PauseDeviceMixing(ALCdevice* device, bool paused)
{
    if (device == nullptr || alcIsExtensionPresent(device, "ALC_SOFT_pause_device") == ALC_FALSE) {
        return;
    }
    // Declared here rather than taken from alext.h, which not every OpenAL ships (the web's has none).
    using DevicePauseFunction = void (*)(ALCdevice*);
    const char* name = paused ? "alcDevicePauseSOFT" : "alcDeviceResumeSOFT";
    if (const auto function = reinterpret_cast<DevicePauseFunction>(alcGetProcAddress(device, name))) {
        function(device);
    }
}

} // namespace

float LiveAudioVolume(bool music)
{
    if (sLiveRecord == nullptr) {
        return 1.0f;
    }
    return sLiveRecord->masterVolume * (music ? sLiveRecord->musicVolume : sLiveRecord->effectVolume);
}

} // namespace mgImplementation

namespace Marrowgate::Audio {

using mgImplementation::kUnitName;

AudioManager theAudioManager;
AudioHandle theLogoSound = kInvalidAudioHandle;

namespace {

// Every way of playing a sound may be handed theLogoSound, so each registers it first.
void PrepareToPlay(mgImplementation::AudioManagerRecord& record)
{
    mgImplementation::OpenDeviceOnce(record);
    if (theLogoSound == kInvalidAudioHandle) {
        mgImplementation::RegisterLogoSound(record);
    }
}

AudioChannel StartSound(mgImplementation::AudioManagerRecord& record,
                        const mgImplementation::StartRequest& request)
{
    PrepareToPlay(record);
    MG_ERROR_IF(request.handle == kInvalidAudioHandle,
                "mgExternalError: Attempting to play an invalid audio handle.");
    return mgImplementation::StartPlayer(record, request);
}

AudioChannel StartEvent(mgImplementation::AudioManagerRecord& record, const std::string& tableName,
                        const std::string& eventName, const std::optional<Core::Vector3>& position)
{
    mgImplementation::OpenDeviceOnce(record);
    std::optional<mgImplementation::StartRequest> request =
        mgImplementation::RequestForEvent(record, tableName, eventName);
    if (!request) {
        return {};
    }
    request->worldPosition = position;
    return mgImplementation::StartPlayer(record, *request);
}

} // namespace

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
    *mRecord = mgImplementation::AudioManagerRecord{};
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
    const auto loadSound = [this](const std::string& soundPath, bool streaming) {
        return streaming ? CreateStreamingSoundFromFile(soundPath) : CreateSoundFromFile(soundPath);
    };
    if (!mgImplementation::ReadEventTable(document, tableName, filePath, loadSound, table)) {
        return false;
    }
    mRecord->eventTables.emplace(tableName, std::move(table));
    return true;
}

AudioHandle AudioManager::CreateSoundFromFile(const std::string& filePath)
{
    return mgImplementation::LoadSound(*mRecord, filePath, false);
}

AudioHandle AudioManager::CreateStreamingSoundFromFile(const std::string& filePath)
{
    return mgImplementation::LoadSound(*mRecord, filePath, true);
}

AudioHandle AudioManager::CreateSoundFromMemory(const std::uint8_t* fileBytes, std::size_t byteCount,
                                                const std::string& name)
{
    mgImplementation::AudioManagerRecord& record = *mRecord;
    mgImplementation::OpenDeviceOnce(record);
    const Core::Error::ReportSubject subject(name);
    const auto handle = static_cast<AudioHandle>(record.soundsByHandle.size() + 1);
    record.soundsByHandle[handle] =
        std::make_shared<mgImplementation::CachedAudioData>(mgImplementation::CachedAudioData{
            "", std::make_shared<mgImplementation::AudioData>(fileBytes, byteCount), handle, 1});
    return handle;
}

AudioChannel AudioManager::PlaySound(const AudioHandle& handle, bool looping, bool music)
{
    PrepareToPlay(*mRecord);
    mgImplementation::StartRequest request;
    request.handle = handle;
    request.looping = looping;
    request.music = music;
    return StartSound(*mRecord, request);
}

AudioChannel AudioManager::PlaySoundAt(const AudioHandle& handle, bool looping, const Core::Vector3& position)
{
    if (!mgImplementation::IsAcceptedVector(position, "sound position")) {
        return {};
    }
    PrepareToPlay(*mRecord);
    mgImplementation::StartRequest request;
    request.handle = handle;
    request.looping = looping;
    request.worldPosition = position;
    return StartSound(*mRecord, request);
}

AudioChannel AudioManager::PlayEvent(const std::string& tableName, const std::string& eventName)
{
    return StartEvent(*mRecord, tableName, eventName, std::nullopt);
}

AudioChannel AudioManager::PlayEventAt(const std::string& tableName, const std::string& eventName,
                                       const Core::Vector3& position)
{
    if (!mgImplementation::IsAcceptedVector(position, "sound position")) {
        return {};
    }
    return StartEvent(*mRecord, tableName, eventName, position);
}

void AudioManager::Update(float elapsedSeconds)
{
    std::list<mgImplementation::ActivePlayer>& players = mRecord->activePlayers;
    for (auto entry = players.begin(); entry != players.end();) {
        if (!mRecord->paused) {
            entry->player->Advance(elapsedSeconds);
        }
        entry->player->Update();
        entry = entry->player->IsFinished() ? players.erase(entry) : std::next(entry);
    }
}

void AudioManager::SetMasterVolume(float volume)
{
    if (mgImplementation::IsAcceptedVolume(volume, "master volume")) {
        mRecord->masterVolume = volume;
        mgImplementation::ApplyGains(*mRecord);
    }
}

float AudioManager::GetMasterVolume() const
{
    return mRecord->masterVolume;
}

void AudioManager::SetBusVolume(AudioBus bus, float volume)
{
    const bool music = bus == AudioBus::kMusic;
    if (mgImplementation::IsAcceptedVolume(volume, music ? "music bus volume" : "effects bus volume")) {
        (music ? mRecord->musicVolume : mRecord->effectVolume) = volume;
        mgImplementation::ApplyGains(*mRecord);
    }
}

float AudioManager::GetBusVolume(AudioBus bus) const
{
    return bus == AudioBus::kMusic ? mRecord->musicVolume : mRecord->effectVolume;
}

void AudioManager::CrossfadeMusic(const AudioChannel& incoming, float seconds)
{
    if (!mgImplementation::IsAcceptedFadeLength(seconds)) {
        return;
    }
    mgImplementation::AudioPlayer* incomingPlayer = FindPlayer(incoming);
    for (const mgImplementation::ActivePlayer& entry : mRecord->activePlayers) {
        if (entry.player.get() != incomingPlayer && entry.player->IsMusic()) {
            entry.player->FadeTo(0.0f, seconds, mgImplementation::RampShape::kEqualPowerOut, true);
        }
    }
    if (incomingPlayer != nullptr) {
        const float volume = incomingPlayer->GetVolume();
        incomingPlayer->SetVolume(0.0f);
        incomingPlayer->FadeTo(volume, seconds, mgImplementation::RampShape::kEqualPowerIn, false);
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
    // Only the players this pause stopped are started again: a finished one stays finished,
    // and one its channel paused stays paused.
    for (const mgImplementation::ActivePlayer& entry : record.activePlayers) {
        const ALuint source = entry.player->GetSource();
        ALint state = 0;
        alGetSourcei(source, AL_SOURCE_STATE, &state);
        if (paused && state == AL_PLAYING) {
            alSourcePause(source);
        } else if (!paused && state == AL_PAUSED && !entry.player->IsHeld()) {
            alSourcePlay(source);
        }
    }
    mgImplementation::PauseDeviceMixing(record.device, paused);
}

bool AudioManager::IsPaused() const
{
    return mRecord->paused;
}

mgImplementation::AudioPlayer* AudioManager::FindPlayer(const AudioChannel& channel) const
{
    if (channel.channelIdentifier == 0) {
        return nullptr;
    }
    for (const mgImplementation::ActivePlayer& entry : mRecord->activePlayers) {
        if (entry.player->GetChannelIdentifier() == channel.channelIdentifier) {
            return entry.handle == channel.handle ? entry.player.get() : nullptr;
        }
    }
    return nullptr;
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
