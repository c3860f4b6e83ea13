#include "marrowgate/game/mg_entity_manager.h"

#include "marrowgate/core/mg_error.h"

#include <algorithm>
#include <memory>

namespace {
constexpr char kUnitName[] = "mg_entity_manager";
}

namespace Marrowgate::Game {

namespace {

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

EntityManager::~EntityManager()
{
    for (Entity* entity : mEntities) {
        entity->mManager = nullptr;
    }
    // Deleted rather than leaked: nothing else can reach an owned entity once its manager is
    // gone. The graphic list below only clears its pointers to them.
    while (!mOwnedEntities.empty()) {
        std::unique_ptr<Entity> owned(mOwnedEntities.back());
        mOwnedEntities.pop_back();
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
    AddGraphic(entity);
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

void EntityManager::OnSimulate()
{
    {
        const PassScope pass(mRunningPasses);
        // By index: an entity may add others while it simulates.
        for (std::size_t index = 0; index < mEntities.size(); ++index) {
            if (mEntities[index]->IsActive()) {
                mEntities[index]->OnSimulate();
            }
        }
        RunCollisionPass();
    }
    ProcessPendingRemovals();
}

// Inactive entities take part too: being inactive only stops their own stepping.
void EntityManager::RunCollisionPass()
{
    for (std::size_t first = 0; first < mEntities.size(); ++first) {
        if (!mEntities[first]->IsCollidable()) {
            continue;
        }
        for (std::size_t second = first + 1; second < mEntities.size(); ++second) {
            Entity* entityA = mEntities[first];
            Entity* entityB = mEntities[second];
            if (!entityB->IsCollidable()) {
                continue;
            }
            MG_ERROR_IF(entityA == entityB,
                        "mgInternalError: Should never do collision against the same entity.");
            if (entityA->CollidesWith(*entityB)) {
                entityA->OnCollide(*entityB);
                entityB->OnCollide(*entityA);
            }
        }
    }
}

void EntityManager::OnUpdate(float deltaTime)
{
    {
        const PassScope pass(mRunningPasses);
        GraphicList::OnUpdate(deltaTime);
    }
    ProcessPendingRemovals();
}

void EntityManager::OnRender()
{
    const PassScope pass(mRunningPasses);
    GraphicList::OnRender();
}

void EntityManager::ProcessPendingRemovals()
{
    // OnRemove and destructors may ask for more removals: those join the set and are handled
    // in the same loop, in address order like the rest.
    const PassScope pass(mRunningPasses);
    while (!mPendingRemovals.empty()) {
        Entity* entity = *mPendingRemovals.begin();
        mPendingRemovals.erase(mPendingRemovals.begin());
        RemoveNow(entity);
    }
}

void EntityManager::RemoveNow(Entity* entity)
{
    RemoveGraphic(entity);
    std::erase(mEntities, entity);
    Unindex(entity, entity->mEntityTypes);
    entity->OnRemove();
    entity->mManager = nullptr;
    const auto owned = std::ranges::find(mOwnedEntities, entity);
    if (owned != mOwnedEntities.end()) {
        mOwnedEntities.erase(owned);
        delete entity;
    }
}

void EntityManager::Reindex(Entity* entity, const std::vector<std::string>& previousTypes)
{
    Unindex(entity, previousTypes);
    for (const std::string& entityType : entity->mEntityTypes) {
        mEntitiesByType[entityType].push_back(entity);
    }
}

void EntityManager::Unindex(Entity* entity, const std::vector<std::string>& entityTypes)
{
    for (const std::string& entityType : entityTypes) {
        const auto found = mEntitiesByType.find(entityType);
        if (found != mEntitiesByType.end()) {
            std::erase(found->second, entity);
        }
    }
}

void EntityManager::Forget(Entity* entity)
{
    RemoveGraphic(entity);
    std::erase(mEntities, entity);
    std::erase(mOwnedEntities, entity);
    Unindex(entity, entity->mEntityTypes);
    mPendingRemovals.erase(entity);
}

} // namespace Marrowgate::Game
