#include "orrery/game_entity_manager.h"

#include "marrowgate/core/mg_error.h"
#include "orrery/game_collision_broad_phase.h"
#include "orrery/game_sound.h"

#include <algorithm>
#include <utility>

namespace {
constexpr char kUnitName[] = "game_entity_manager";
// Collision callbacks after which a pass stops rebuilding its broad phase.
constexpr int kMaximumBroadPhaseRebuilds = 32;
} // namespace

namespace Orrery::Game {

using Marrowgate::Core::Vector3;

Entity::Entity(const std::string& entityType) : mEntityTypes{entityType} {}

Entity::~Entity()
{
    ReleaseEntitySounds(*this);
    if (mManager != nullptr) {
        mManager->Forget(this);
    }
}

void Entity::Simulate()
{
    if (!mIsActive) {
        return;
    }
    if (EntityBehaviour* behaviour = mBehaviours.Top()) {
        behaviour->OnSimulate();
    }
    OnSimulate();
    mBehaviours.DeletePopped();
}

void Entity::Update(float deltaTime)
{
    if (!mIsActive) {
        return;
    }
    if (EntityBehaviour* behaviour = mBehaviours.Top()) {
        behaviour->OnUpdate(deltaTime);
    }
    OnUpdate(deltaTime);
    mBehaviours.DeletePopped();
}

void Entity::Render()
{
    if (!mIsVisible) {
        return;
    }
    if (EntityBehaviour* behaviour = mBehaviours.Top()) {
        behaviour->OnRender();
    }
    OnRender();
}

Vector3 Entity::GetPosition() const
{
    return mTransform.GetPosition();
}

void Entity::AddBoundingSphere(float radius, const Vector3& center)
{
    mIsCollidable = true;
    BoundingVolume& volume = mBoundingVolumes.emplace_back(radius);
    volume.center = center;
}

void Entity::AddBoundingBox(float width, float height, float depth, const Vector3& center)
{
    mIsCollidable = true;
    BoundingVolume& volume = mBoundingVolumes.emplace_back(width, height, depth);
    volume.center = center;
}

bool Entity::IsEntityType(const std::string& entityType) const
{
    return std::find(mEntityTypes.begin(), mEntityTypes.end(), entityType) != mEntityTypes.end();
}

void Entity::AddEntityType(const std::string& entityType)
{
    const std::vector<std::string> previousTypes = mEntityTypes;
    mEntityTypes.push_back(entityType);
    if (mManager != nullptr) {
        mManager->UpdateEntityTypes(this, previousTypes);
    }
}

bool Entity::IsCollidingWith(const Entity& other) const
{
    if (!mIsCollidable || !other.mIsCollidable) {
        return false;
    }
    const Vector3 position = GetPosition();
    const Vector3 otherPosition = other.GetPosition();
    for (BoundingVolume volume : mBoundingVolumes) {
        volume.center += position;
        for (BoundingVolume otherVolume : other.mBoundingVolumes) {
            otherVolume.center += otherPosition;
            if (volume.Intersects(otherVolume)) {
                return true;
            }
        }
    }
    return false;
}

std::optional<Contact> Entity::GetContactWith(const Entity& other) const
{
    if (!mIsCollidable || !other.mIsCollidable) {
        return std::nullopt;
    }
    const Vector3 position = GetPosition();
    const Vector3 otherPosition = other.GetPosition();
    std::optional<Contact> deepest;
    for (BoundingVolume volume : mBoundingVolumes) {
        volume.center += position;
        for (BoundingVolume otherVolume : other.mBoundingVolumes) {
            otherVolume.center += otherPosition;
            const std::optional<Contact> contact = volume.ContactWith(otherVolume);
            if (contact && (!deepest || contact->depth > deepest->depth)) {
                deepest = contact;
            }
        }
    }
    return deepest;
}

void Entity::PushBehaviour(std::unique_ptr<EntityBehaviour> behaviour)
{
    mBehaviours.Push(std::move(behaviour));
}

void Entity::PopBehaviour()
{
    mBehaviours.Pop();
}

void Entity::PopAllBehaviours()
{
    mBehaviours.PopAll();
}

void Entity::OnCollide(Entity& other)
{
    if (EntityBehaviour* behaviour = mBehaviours.Top()) {
        behaviour->OnCollide(other);
    }
    mBehaviours.DeletePopped();
}

EntityManager::EntityManager() : EntityManagerBase(kUnitName) {}

EntityManager::~EntityManager()
{
    ReleaseAllEntities();
}

void EntityManager::Simulate()
{
    RunPassThenRemovals([this] {
        // By index: an entity may add others while it simulates.
        for (std::size_t index = 0; index < GetEntities().size(); ++index) {
            if (!IsRemovalPending(*GetEntities()[index])) {
                GetEntities()[index]->Simulate();
            }
        }
        RunCollisionPass();
    });
}

// The pairs are those of the plain double loop, in its order: for each collidable A, each
// collidable B after it. The broad phase only skips pairs that cannot touch. A collision
// callback may change anything, so after one the broad phase is built again and the search
// resumes after the pair just handled; past a budget of rebuilds (a crowded scene) the rest of
// the pass tests every pair, which is never slower than the plain loop by more than a constant.
void EntityManager::RunCollisionPass()
{
    CollisionBroadPhase broadPhase;
    broadPhase.Build(GetEntities());
    int rebuildsLeft = kMaximumBroadPhaseRebuilds;
    bool useBroadPhase = true;
    ForEachCollidablePair(
        [&](std::size_t first, std::size_t from, std::vector<std::size_t>& candidates) {
            if (useBroadPhase) {
                broadPhase.FindPartners(first, from, candidates);
            } else {
                AllCandidatesFrom(from, candidates);
            }
        },
        [&](Entity& entityA, Entity& entityB) {
            MG_ERROR_IF(&entityA == &entityB,
                        "Orrery Internal Error: Should never do collision against the same entity.");
            if (!entityA.IsCollidingWith(entityB)) {
                return false;
            }
            entityA.OnCollide(entityB);
            entityB.OnCollide(entityA);
            useBroadPhase = useBroadPhase && rebuildsLeft-- > 0;
            if (useBroadPhase) {
                broadPhase.Build(GetEntities());
            }
            return true;
        });
}

void EntityManager::Update(float deltaTime)
{
    RunPassThenRemovals([this, deltaTime] {
        for (std::size_t index = 0; index < GetEntities().size(); ++index) {
            if (!IsRemovalPending(*GetEntities()[index])) {
                GetEntities()[index]->Update(deltaTime);
            }
        }
    });
}

void EntityManager::Render()
{
    // Removals asked for while drawing wait for the next simulate or update.
    const PassScope pass(*this);
    for (std::size_t index = 0; index < GetEntities().size(); ++index) {
        GetEntities()[index]->Render();
    }
}

void EntityManager::UpdateEntityTypes(Entity* entity, const std::vector<std::string>& previousTypes)
{
    Reindex(entity, previousTypes);
}

} // namespace Orrery::Game
