#include "orrery/game_sound.h"

#include "cinderhall/cdh_visualization.h"
#include "orrery/game_entity_manager.h"

#include <vector>

namespace Orrery::Game {
namespace {

using Marrowgate::Audio::AudioChannel;
using Marrowgate::Audio::theAudioManager;

struct EntitySound
{
    const Entity* entity = nullptr;
    AudioChannel channel;
};

// The sounds that follow entities; an entry goes when its entity is destroyed or, lazily, once
// its sound has ended. Never destroyed: an entity that outlives static destruction's order
// (a global one) still finds it in its destructor.
std::vector<EntitySound>& EntitySounds()
{
    static auto* const sounds = new std::vector<EntitySound>();
    return *sounds;
}

AudioChannel Attach(Entity& entity, const AudioChannel& channel)
{
    std::vector<EntitySound>& sounds = EntitySounds();
    std::erase_if(sounds, [](const EntitySound& sound) { return !sound.channel.IsPlaying(); });
    if (channel.IsPlaying()) {
        const Entity* followed = &entity;
        channel.Follow([followed] { return followed->GetWorldPosition(); });
        sounds.push_back({followed, channel});
    }
    return channel;
}

} // namespace

void CameraListener::Follow(const Cinderhall::cdhCamera& camera, float deltaTime)
{
    const Marrowgate::Core::Vector3 position = camera.GetPosition();
    Marrowgate::Core::Vector3 velocity;
    if (mLastPosition && deltaTime > 0.0f) {
        velocity = (position - *mLastPosition) / deltaTime;
    }
    mLastPosition = position;
    theAudioManager.SetListener(position, camera.GetForward(), camera.GetUp(), velocity);
}

AudioChannel PlaySoundOn(Entity& entity, Marrowgate::Audio::AudioHandle handle, bool looping)
{
    return Attach(entity, theAudioManager.PlaySoundAt(handle, looping, entity.GetWorldPosition()));
}

AudioChannel PlayEventOn(Entity& entity, const std::string& tableName, const std::string& eventName)
{
    return Attach(entity, theAudioManager.PlayEventAt(tableName, eventName, entity.GetWorldPosition()));
}

void ReleaseEntitySounds(const Entity& entity)
{
    std::erase_if(EntitySounds(), [&entity](const EntitySound& sound) {
        if (sound.entity != &entity) {
            return false;
        }
        if (sound.channel.IsLooping()) {
            sound.channel.Stop();
        }
        sound.channel.StopFollowing();
        return true;
    });
}

} // namespace Orrery::Game
