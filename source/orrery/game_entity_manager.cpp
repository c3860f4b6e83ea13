#include "orrery/game_entity_manager.h"

#include "marrowgate/core/mg_error.h"
#include "orrery/game_collision_broad_phase.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace {
constexpr char kUnitName[] = "game_entity_manager";
// Collision callbacks after which a pass stops rebuilding its broad phase.
constexpr int kMaximumBroadPhaseRebuilds = 32;
} // namespace

namespace Orrery::Game {

using Marrowgate::Core::Vector3;

namespace {

void EraseAll(std::vector<Entity*>& entities, const Entity* entity)
{
    std::erase(entities, entity);
}

// Marks a pass as running for its lifetime, so that removals requested inside it are deferred.
class PassScope
{
public:
    explicit PassScope(int& runningPasses) : mRunningPasses(runningPasses) { ++mRunningPasses; }
    ~PassScope() { --mRunningPasses; }
    PassScope(const PassScope&) = delete;
    PassScope& operator=(const PassScope&) = delete;

private:
    int& mRunningPasses;
};

} // namespace

Entity::Entity(const std::string& entityType) : mEntityTypes{entityType} {}

Entity::~Entity()
{
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
    return std::ranges::find(mEntityTypes, entityType) != mEntityTypes.end();
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

EntityManager::~EntityManager()
{
    for (Entity* entity : mEntities) {
        entity->mManager = nullptr;
    }
    // Deleted here rather than leaked: nothing else can reach an owned entity once its
    // manager is gone.
    while (!mOwnedEntities.empty()) {
        std::unique_ptr<Entity> owned(mOwnedEntities.back());
        mOwnedEntities.pop_back();
    }
}

void EntityManager::Simulate()
{
    {
        const PassScope pass(mRunningPasses);
        // By index: an entity may add others while it simulates.
        for (std::size_t index = 0; index < mEntities.size(); ++index) {
            mEntities[index]->Simulate();
        }
        RunCollisionPass();
    }
    ProcessPendingRemovals();
}

// The pairs are those of the plain double loop, in its order: for each collidable A, each
// collidable B after it. The broad phase only skips pairs that cannot touch. A collision
// callback may change anything, so after one the broad phase is built again and the search
// resumes after the pair just handled; past a budget of rebuilds (a crowded scene) the rest of
// the pass tests every pair, which is never slower than the plain loop by more than a constant.
void EntityManager::RunCollisionPass()
{
    CollisionBroadPhase broadPhase;
    broadPhase.Build(mEntities);
    int rebuildsLeft = kMaximumBroadPhaseRebuilds;
    bool useBroadPhase = true;
    std::vector<std::size_t> partners;
    for (std::size_t first = 0; first < mEntities.size(); ++first) {
        if (!mEntities[first]->IsCollidable()) {
            continue;
        }
        std::size_t from = first + 1;
        bool searchAgain = true;
        while (searchAgain) {
            searchAgain = false;
            if (useBroadPhase) {
                broadPhase.FindPartners(first, from, partners);
            } else {
                partners.resize(from < mEntities.size() ? mEntities.size() - from : 0);
                std::iota(partners.begin(), partners.end(), from);
            }
            for (const std::size_t second : partners) {
                Entity* entityA = mEntities[first];
                Entity* entityB = mEntities[second];
                if (!entityB->IsCollidable()) {
                    continue;
                }
                MG_ERROR_IF(entityA == entityB,
                            "Orrery Internal Error: Should never do collision against the same entity.");
                if (entityA->IsCollidingWith(*entityB)) {
                    entityA->OnCollide(*entityB);
                    entityB->OnCollide(*entityA);
                    useBroadPhase = useBroadPhase && rebuildsLeft-- > 0;
                    if (useBroadPhase) {
                        broadPhase.Build(mEntities);
                    }
                    from = second + 1;
                    searchAgain = true;
                    break;
                }
            }
        }
    }
}

void EntityManager::Update(float deltaTime)
{
    {
        const PassScope pass(mRunningPasses);
        for (std::size_t index = 0; index < mEntities.size(); ++index) {
            mEntities[index]->Update(deltaTime);
        }
    }
    ProcessPendingRemovals();
}

void EntityManager::Render()
{
    // Removals asked for while drawing wait for the next simulate or update.
    const PassScope pass(mRunningPasses);
    for (std::size_t index = 0; index < mEntities.size(); ++index) {
        mEntities[index]->Render();
    }
}

void EntityManager::AddEntity(Entity* entity, bool owned)
{
    MG_ERROR_IF(entity == nullptr, "mgExternalError: Expected a valid entity to add to the entity manager.");
    if (entity == nullptr) {
        return;
    }
    MG_ERROR_IF(entity->mManager != nullptr,
                "mgExternalError: Cannot add this entity to an entity manager, it is already being managed.");
    if (entity->mManager != nullptr) {
        return;
    }
    if (owned) {
        mOwnedEntities.push_back(entity);
    }
    mEntities.push_back(entity);
    for (const std::string& entityType : entity->mEntityTypes) {
        mEntitiesByType[entityType].push_back(entity);
    }
    entity->mManager = this;
    entity->OnAdd();
}

void EntityManager::RemoveEntity(Entity* entity)
{
    MG_ERROR_IF(entity == nullptr || entity->mManager != this,
                "mgExternalError: Cannot remove this entity, it is not managed by this entity manager.");
    if (entity == nullptr || entity->mManager != this) {
        return;
    }
    if (mRunningPasses > 0) {
        mPendingRemovals.insert(entity);
    } else {
        RemoveNow(entity);
    }
}

std::vector<Entity*> EntityManager::GetEntitiesByType(const std::string& entityType) const
{
    const auto found = mEntitiesByType.find(entityType);
    return found == mEntitiesByType.end() ? std::vector<Entity*>() : found->second;
}

void EntityManager::UpdateEntityTypes(Entity* entity, const std::vector<std::string>& previousTypes)
{
    Unindex(entity, previousTypes);
    for (const std::string& entityType : entity->mEntityTypes) {
        mEntitiesByType[entityType].push_back(entity);
    }
}

void EntityManager::ProcessPendingRemovals()
{
    // Removal runs OnRemove and destructors, which may ask for more removals: those join the
    // set and are handled in the same loop, in address order like the rest.
    const PassScope pass(mRunningPasses);
    while (!mPendingRemovals.empty()) {
        Entity* entity = *mPendingRemovals.begin();
        mPendingRemovals.erase(mPendingRemovals.begin());
        RemoveNow(entity);
    }
}

void EntityManager::RemoveNow(Entity* entity)
{
    EraseAll(mEntities, entity);
    Unindex(entity, entity->mEntityTypes);
    entity->OnRemove();
    entity->mManager = nullptr;
    const auto owned = std::ranges::find(mOwnedEntities, entity);
    if (owned != mOwnedEntities.end()) {
        mOwnedEntities.erase(owned);
        delete entity;
    }
}

void EntityManager::Unindex(Entity* entity, const std::vector<std::string>& entityTypes)
{
    for (const std::string& entityType : entityTypes) {
        const auto found = mEntitiesByType.find(entityType);
        if (found != mEntitiesByType.end()) {
            EraseAll(found->second, entity);
        }
    }
}

void EntityManager::Forget(Entity* entity)
{
    EraseAll(mEntities, entity);
    EraseAll(mOwnedEntities, entity);
    Unindex(entity, entity->mEntityTypes);
    mPendingRemovals.erase(entity);
}

} // namespace Orrery::Game
