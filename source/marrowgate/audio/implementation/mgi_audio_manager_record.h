#pragma once
// The audio manager's state, in one record that the manager owns and that its units share: the
// sounds, the players that sound, the event tables, the OpenAL device and context, the levels
// of the buses and the 3D settings.
//
// Depends on the manager's types, the player and OpenAL's context API; only the manager's own
// units include it.

#include "marrowgate/audio/mg_audio_manager.h"
#include "marrowgate/math/mg_vector.h"

#include <AL/alc.h>

#include <list>
#include <map>
#include <memory>
#include <string>
#include <utility>

namespace mgImplementation {

struct ActivePlayer
{
    std::shared_ptr<AudioPlayer> player;
    Marrowgate::Audio::AudioHandle handle = Marrowgate::Audio::kInvalidAudioHandle;
};

struct ListenerPlacement
{
    Marrowgate::Core::Vector3 position{0.0f, 0.0f, 0.0f};
    Marrowgate::Core::Vector3 forward{0.0f, 0.0f, -1.0f};
    Marrowgate::Core::Vector3 up{0.0f, 1.0f, 0.0f};
    Marrowgate::Core::Vector3 velocity{0.0f, 0.0f, 0.0f};
};

struct AudioManagerRecord
{
    std::map<std::string, std::shared_ptr<CachedAudioData>> soundsByPath;
    // Streamed sounds are kept apart: the same file may also be loaded whole.
    std::map<std::string, std::shared_ptr<CachedAudioData>> streamsByPath;
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
    float masterVolume = 1.0f;
    float effectVolume = 1.0f;
    float musicVolume = 1.0f;
    bool paused = false;
    // The variant each event played last, by table and event name.
    std::map<std::pair<std::string, std::string>, std::size_t> lastVariants;
    ListenerPlacement listener;
    Marrowgate::Audio::SoundDistances distances;
    bool doppler = false;
};

// Hands the listener to OpenAL; needs the context current.
void ApplyListener(const ListenerPlacement& listener);

} // namespace mgImplementation
