#pragma once
/// EntityManagerBase: what the 2D entity manager and the 3D kit's one share, for any entity type
/// that has GetManager(), GetEntityTypes(), IsCollidable(), OnAdd(), OnRemove() and a private
/// mManager pointer and mRemovalPending flag the base may set (the entity class befriends this
/// template).
/// @file
/// It keeps the entities in the order they were added, indexes them by type name, owns those
/// added as owned, defers removals asked for while a pass runs to the end of that pass (in the
/// order they were asked for), and walks the collidable pairs in the one order both managers
/// promise. An entity whose removal is pending is out of the game at once: it no longer
/// simulates, updates or collides, though it stays listed until the pass ends. The derived manager says
/// what a pass does and how a pair is tested; it may also hook the moments an entity joins or
/// leaves its lists (the 2D manager keeps its graphic list in step there).
///
/// Reports go out under the derived manager's unit name, so they read as before the fold.
/// Depends on: core (errors).

#include "marrowgate/core/mg_error.h"

#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

namespace Marrowgate::Game {

template <typename Derived, typename EntityType> class EntityManagerBase
{
public:
    EntityManagerBase(const EntityManagerBase&) = delete;
    EntityManagerBase& operator=(const EntityManagerBase&) = delete;

    // Reports an entity that already has a manager. Owned entities are destroyed on removal.
    void AddEntity(EntityType* entity, bool owned = true)
    {
        Core::Error::TriggerErrorIf(entity == nullptr, mUnitName, __LINE__,
                                    "mgExternalError: Expected a valid entity to add to the entity manager.");
        if (entity == nullptr) {
            return;
        }
        Core::Error::TriggerErrorIf(
            entity->mManager != nullptr, mUnitName, __LINE__,
            "mgExternalError: Cannot add this entity to an entity manager, it is already being managed.");
        if (entity->mManager != nullptr) {
            return;
        }
        if (owned) {
            mOwnedEntities.push_back(entity);
        }
        mEntities.push_back(entity);
        Index(entity, entity->GetEntityTypes());
        Self().OnEntityListed(entity);
        entity->mManager = &Self();
        entity->OnAdd();
    }

    // Removes the entity now, or at the end of the running pass.
    void RemoveEntity(EntityType* entity)
    {
        const bool managedHere = entity != nullptr && entity->mManager == &Self();
        Core::Error::TriggerErrorIf(
            !managedHere, mUnitName, __LINE__,
            "mgExternalError: Cannot remove this entity, it is not managed by this entity manager.");
        if (!managedHere) {
            return;
        }
        if (mRunningPasses == 0) {
            RemoveNow(entity);
        } else if (!entity->mRemovalPending) {
            entity->mRemovalPending = true;
            mPendingRemovals.push_back(entity);
        }
    }

    // Asked to be removed while a pass runs, and not removed yet.
    static bool IsRemovalPending(const EntityType& entity) { return entity.mRemovalPending; }

    // A copy of the entities indexed under the type, in the order they were added.
    std::vector<EntityType*> GetEntitiesByType(const std::string& entityType) const
    {
        const auto found = mEntitiesByType.find(entityType);
        return found == mEntitiesByType.end() ? std::vector<EntityType*>() : found->second;
    }
    const std::vector<EntityType*>& GetEntities() const { return mEntities; }
    // The entities that are of the game class Wanted, in the order they were added; the typed
    // counterpart of GetEntitiesByType.
    template <typename Wanted> std::vector<Wanted*> GetEntitiesOfClass() const
    {
        std::vector<Wanted*> found;
        for (EntityType* entity : mEntities) {
            if (Wanted* wanted = dynamic_cast<Wanted*>(entity)) {
                found.push_back(wanted);
            }
        }
        return found;
    }

protected:
    explicit EntityManagerBase(const char* unitName) : mUnitName(unitName) {}
    ~EntityManagerBase() = default;

    // Marks a pass as running for its lifetime, so that removals requested inside it wait.
    class PassScope
    {
    public:
        explicit PassScope(EntityManagerBase& manager) : mRunningPasses(manager.mRunningPasses)
        {
            ++mRunningPasses;
        }
        ~PassScope() { --mRunningPasses; }
        PassScope(const PassScope&) = delete;
        PassScope& operator=(const PassScope&) = delete;

    private:
        int& mRunningPasses;
    };

    // Runs the pass, then the removals it asked for.
    template <typename Pass> void RunPassThenRemovals(Pass&& pass)
    {
        {
            const PassScope scope(*this);
            pass();
        }
        ProcessPendingRemovals();
    }

    // For each collidable entity A and each collidable B after it, in the order they were added:
    // collideIfTouching(A, B) tests the pair, calls back, and says whether they touched. The
    // candidates after a position come from findCandidates(first, from, indices), ascending; a
    // callback may change anything, so after a collision they are asked for again from the
    // next position.
    template <typename FindCandidates, typename CollideIfTouching>
    void ForEachCollidablePair(FindCandidates&& findCandidates, CollideIfTouching&& collideIfTouching)
    {
        std::vector<std::size_t> candidates;
        for (std::size_t first = 0; first < mEntities.size(); ++first) {
            std::size_t from = first + 1;
            bool searchAgain = true;
            // A callback may take A out of the game: then its remaining pairs are not tested.
            while (searchAgain && IsInPlay(*mEntities[first])) {
                searchAgain = false;
                findCandidates(first, from, candidates);
                for (const std::size_t second : candidates) {
                    EntityType* entityA = mEntities[first];
                    EntityType* entityB = mEntities[second];
                    if (!IsInPlay(*entityB)) {
                        continue;
                    }
                    if (collideIfTouching(*entityA, *entityB)) {
                        from = second + 1;
                        searchAgain = true;
                        break;
                    }
                }
            }
        }
    }

    // Collidable and not on its way out.
    static bool IsInPlay(const EntityType& entity)
    {
        return entity.IsCollidable() && !entity.mRemovalPending;
    }

    // Every position from `from` to the end: the candidates when nothing narrows them.
    void AllCandidatesFrom(std::size_t from, std::vector<std::size_t>& candidates) const
    {
        candidates.resize(from < mEntities.size() ? mEntities.size() - from : 0);
        std::iota(candidates.begin(), candidates.end(), from);
    }

    // Moves the entity from the index lists of previousTypes to those of its current types.
    void Reindex(EntityType* entity, const std::vector<std::string>& previousTypes)
    {
        Unindex(entity, previousTypes);
        Index(entity, entity->GetEntityTypes());
    }

    // Drops every reference to the entity without calling it; for the entity's destructor.
    void Forget(EntityType* entity)
    {
        Self().OnEntityUnlisted(entity);
        std::erase(mEntities, entity);
        std::erase(mOwnedEntities, entity);
        Unindex(entity, entity->GetEntityTypes());
        std::erase(mPendingRemovals, entity);
    }

    // The removals waiting for the running pass to end, in the order they were asked for.
    const std::deque<EntityType*>& GetPendingRemovals() const { return mPendingRemovals; }

    // Lets every entity go and destroys the owned ones, the last added first, without
    // OnRemove: nothing else can reach them once their manager is gone. The derived destructor
    // calls this first, while the rest of the manager still stands.
    void ReleaseAllEntities()
    {
        for (EntityType* entity : mEntities) {
            entity->mManager = nullptr;
        }
        while (!mOwnedEntities.empty()) {
            std::unique_ptr<EntityType> owned(mOwnedEntities.back());
            mOwnedEntities.pop_back();
        }
    }

    // Hooks for the derived manager, called as an entity joins its lists (before OnAdd) and
    // as it leaves them (before anything else is dropped).
    void OnEntityListed(EntityType* /*entity*/) {}
    void OnEntityUnlisted(EntityType* /*entity*/) {}

private:
    Derived& Self() { return static_cast<Derived&>(*this); }

    void ProcessPendingRemovals()
    {
        // OnRemove and destructors may ask for more removals: those join the end of the queue
        // and are handled in the same loop. The order asked for is kept, so OnRemove side
        // effects come in the same order on every run.
        const PassScope scope(*this);
        while (!mPendingRemovals.empty()) {
            EntityType* entity = mPendingRemovals.front();
            mPendingRemovals.pop_front();
            RemoveNow(entity);
        }
    }

    void RemoveNow(EntityType* entity)
    {
        Self().OnEntityUnlisted(entity);
        std::erase(mEntities, entity);
        Unindex(entity, entity->GetEntityTypes());
        entity->mRemovalPending = false;
        entity->OnRemove();
        entity->mManager = nullptr;
        const auto owned = std::find(mOwnedEntities.begin(), mOwnedEntities.end(), entity);
        if (owned != mOwnedEntities.end()) {
            mOwnedEntities.erase(owned);
            delete entity;
        }
    }

    void Index(EntityType* entity, const std::vector<std::string>& entityTypes)
    {
        for (const std::string& entityType : entityTypes) {
            mEntitiesByType[entityType].push_back(entity);
        }
    }

    void Unindex(EntityType* entity, const std::vector<std::string>& entityTypes)
    {
        for (const std::string& entityType : entityTypes) {
            const auto found = mEntitiesByType.find(entityType);
            if (found != mEntitiesByType.end()) {
                std::erase(found->second, entity);
            }
        }
    }

    const char* mUnitName;
    std::vector<EntityType*> mEntities;
    std::vector<EntityType*> mOwnedEntities;
    std::deque<EntityType*> mPendingRemovals;
    std::map<std::string, std::vector<EntityType*>> mEntitiesByType;
    int mRunningPasses = 0; // safe to change the lists while zero
};

} // namespace Marrowgate::Game
