#pragma once
/// The audio manager: the framework's single owner of audio. It opens the OpenAL device and
/// context, loads each sound file once and hands out numeric handles, starts sounds on players
/// (at most 32 at once), advances the players once per fixed simulation step and keeps the
/// audio event tables read from JSON files.
/// @file
/// Depends on the core layer (error reporting, dynamic structure, JSON reading). OpenAL stays
/// behind implementation/; nothing here names an AL type.
///
/// The device opens when the game application starts (or at the first call that needs it, for
/// programs without one), not when the manager is made: a program that only prints its
/// version never touches the sound card.
///
/// Known limits: one thread; sounds are never unloaded, so handles are never reused. Without an
/// audio device the manager reports that once when it tries to open it and then runs silently:
/// sounds are still read and checked, and PlaySound starts nothing.

#include "marrowgate/core/mg_noncopyable.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Marrowgate::Audio {

// Identifies a loaded sound; handles count 1, 2, 3, ... in order of first load.
using AudioHandle = std::uint32_t;
inline constexpr AudioHandle kInvalidAudioHandle = 0;

} // namespace Marrowgate::Audio

namespace mgImplementation {

class AudioData;
struct AudioManagerRecord;

// One loaded sound, shared by the manager's two maps.
struct CachedAudioData
{
    std::string filePath; // empty for the built-in logo sound
    std::shared_ptr<AudioData> audioData;
    Marrowgate::Audio::AudioHandle handle = Marrowgate::Audio::kInvalidAudioHandle;
    // 1 at first load, plus 1 for every later load of the same path; never decremented.
    std::uint32_t referenceCount = 0;
};

} // namespace mgImplementation

namespace Marrowgate::Audio {

// What PlaySound started. A channelIdentifier of 0 means that no player was started.
struct AudioChannel
{
    AudioHandle handle = kInvalidAudioHandle;
    std::uint32_t channelIdentifier = 0;
};

// One variant of an audio event, as read from an event table.
struct AudioEventInfo
{
    AudioHandle handle = kInvalidAudioHandle;
    float volume = 1.0f;
    float minVolume = 1.0f;
    float maxVolume = 1.0f;
    float pitch = 1.0f;
    float minPitch = 1.0f;
    float maxPitch = 1.0f;
    bool looping = false;
    bool music = false;
    bool streaming = false;
};

// Event name -> its variants in the order they were read.
using EventTable = std::map<std::string, std::vector<AudioEventInfo>>;

class AudioManager : Core::Noncopyable
{
public:
    // Opens nothing yet; see Open.
    AudioManager();
    ~AudioManager();

    // Opens the default device unless that has been tried already. A missing device or context
    // is reported once; the manager then runs silently. The game application calls this when it
    // starts; every call below that needs the device calls it first.
    void Open();

    // Reads the JSON event table at filePath and registers it under tableName. Returns false,
    // registering nothing, on any failure; sounds loaded on the way stay loaded.
    bool LoadEventTable(const std::string& tableName, const std::string& filePath);

    // Loads the sound whole, or returns the handle of the one already loaded from this path.
    AudioHandle CreateSoundFromFile(const std::string& filePath);

    // Starts a new player for the sound. The handle is taken by reference on purpose: the first
    // call registers the built-in logo sound and assigns theLogoSound, so a caller passing
    // theLogoSound itself sees the handle it has just been given.
    AudioChannel PlaySound(const AudioHandle& handle, bool looping, bool music);

    // Advances every live player and drops the finished ones; once per fixed step.
    void Update();

    // Holds every sounding player where it is (the window is out of sight) and lets them go
    // on from there. Players started while paused sound at once.
    void SetPaused(bool paused);
    bool IsPaused() const;

    // Read access for tools and tests.
    const EventTable* FindEventTable(const std::string& tableName) const;
    const mgImplementation::CachedAudioData* FindSound(AudioHandle handle) const;
    std::size_t GetActivePlayerCount() const;
    // Tries to open the device first if nothing has yet.
    bool HasDevice() const;

    // Releases everything as destruction does (players, sounds, tables, theLogoSound, the
    // channel counter, context and device) and opens the default device again. For tests and
    // tools that need a fresh device in the same process.
    void Restart();

private:
    std::unique_ptr<mgImplementation::AudioManagerRecord> mRecord;
};

// The one manager, alive from static start-up to static destruction.
extern AudioManager theAudioManager;

// The framework's built-in logo sound; kInvalidAudioHandle until the first PlaySound.
extern AudioHandle theLogoSound;

} // namespace Marrowgate::Audio
