#pragma once
/// The audio manager: the framework's single owner of audio. It opens the OpenAL device and
/// context, loads each sound file once (whole, streamed, or from bytes in memory) and hands out
/// numeric handles, starts sounds on players (at most 32 at once) by handle or by event name,
/// advances the players once per fixed simulation step and keeps the audio event tables read
/// from JSON files. Each sound plays on the music or the effects bus under a master volume;
/// what a game can do with one sound while it plays is in mg_audio_channel.h. 3D sounds have a
/// place in the world and are heard from a listener, fading with distance (SoundDistances).
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

#include "marrowgate/audio/mg_audio_channel.h"
#include "marrowgate/core/mg_noncopyable.h"
#include "marrowgate/math/mg_vector.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace mgImplementation {

class AudioData;
class AudioPlayer;
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

// Every sound plays on one of two buses, each with a volume of its own: music (the event's or
// PlaySound's music flag) or effects (everything else).
enum class AudioBus
{
    kEffects,
    kMusic,
};

// How 3D sounds fade with distance (OpenAL's inverse distance, clamped): at referenceDistance
// or nearer a sound plays at its full volume; further out its gain is
//   referenceDistance / (referenceDistance + rolloffFactor * (distance - referenceDistance)),
// so with a rolloff of 1 it halves at twice the reference distance and quarters at four
// times; beyond maximumDistance it stays as it was there. Distances are in world units.
struct SoundDistances
{
    float referenceDistance = 1.0f;
    float maximumDistance = 100.0f;
    float rolloffFactor = 1.0f;
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

    // A sound to be streamed: only an Ogg Vorbis file's layout is read now, and it is decoded
    // piece by piece as it plays (six seconds of samples in memory, however long the file).
    // Other files load whole. Loaded once per path, as CreateSoundFromFile does.
    AudioHandle CreateStreamingSoundFromFile(const std::string& filePath);
    // A sound from the bytes of a WAV or Ogg Vorbis file held in memory, decoded whole (the
    // bytes are not kept). Every call makes a new sound; `name` only names it in reports.
    AudioHandle CreateSoundFromMemory(const std::uint8_t* fileBytes, std::size_t byteCount,
                                      const std::string& name = "sound in memory");

    // Starts a new player for the sound. The handle is taken by reference on purpose: the first
    // call registers the built-in logo sound and assigns theLogoSound, so a caller passing
    // theLogoSound itself sees the handle it has just been given.
    AudioChannel PlaySound(const AudioHandle& handle, bool looping, bool music);
    // Plays one variant of the event as its table says: chosen as mgi_event_variation.h
    // describes, at the variant's volume and pitch (drawn within their min_/max_ ranges),
    // looping and on the music bus as the event says, streamed when it says "streaming". An
    // unknown table or event is reported and starts nothing.
    AudioChannel PlayEvent(const std::string& tableName, const std::string& eventName);
    // The same, as 3D sounds at a place in the world (see SetListener and SoundDistances).
    AudioChannel PlaySoundAt(const AudioHandle& handle, bool looping, const Core::Vector3& position);
    AudioChannel PlayEventAt(const std::string& tableName, const std::string& eventName,
                             const Core::Vector3& position);

    // Advances every live player and drops the finished ones; once per fixed step, with the
    // step's length (fades move on by it).
    void Update(float elapsedSeconds = 0.01f);

    // Linear gains from 0 to 1 (see mg_audio_channel.h); out of range is reported and ignored.
    void SetMasterVolume(float volume);
    float GetMasterVolume() const;
    void SetBusVolume(AudioBus bus, float volume);
    float GetBusVolume(AudioBus bus) const;
    // Brings `incoming` up from silence to its volume while every other sound on the music bus
    // fades out and stops, both over `seconds`, along equal-power curves so the loudness holds
    // steady. With a channel that is not playing, the music just fades out.
    void CrossfadeMusic(const AudioChannel& incoming, float seconds);

    // The listener 3D sounds are heard from: its place, the way it faces and which way is up
    // (right-handed: facing -z with y up is the start), and its velocity for doppler.
    void SetListener(const Core::Vector3& position, const Core::Vector3& forward, const Core::Vector3& up,
                     const Core::Vector3& velocity = {});
    // For 3D sounds started from now on and those playing.
    void SetSoundDistances(const SoundDistances& distances);
    const SoundDistances& GetSoundDistances() const;
    // Pitch shifted by how fast 3D sounds and the listener move towards or away from each other
    // (speed of sound 343.3 world units per second); off unless switched on.
    void SetDoppler(bool enabled);
    bool IsDopplerEnabled() const;

    // Holds every sounding player where it is (the window is out of sight) and lets them go
    // on from there. Players started while paused sound at once.
    void SetPaused(bool paused);
    bool IsPaused() const;

    // The player behind a channel while its sound lasts, else null; for the channel's controls.
    mgImplementation::AudioPlayer* FindPlayer(const AudioChannel& channel) const;

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
