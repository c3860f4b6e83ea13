#pragma once
// EntityManager: a graphic list of entities that steps them, tests every collidable pair once
// per fixed step and removes entities only when no pass is iterating over them.
//
// Entities keep the order in which they were added; that is the order of the simulate pass and
// of the collision pairs (for A, B, C all touching: A-B, B-A, A-C, C-A, B-C, C-B). Drawing is
// the graphic list's, by depth. Game code derives from it (the destructor is pure).
// Depends on: graphics (GraphicList), the entity.
//
// Ownership: owned entities are destroyed when removed, and when the manager is destroyed while
// still holding them (the last added first, without OnRemove); unowned ones are only released.
// An entity destroyed while managed leaves its manager. Cost: O(n^2) volume tests per step.

#include "marrowgate/game/mg_entity.h"
#include "marrowgate/graphics/mg_graphic_list.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace Marrowgate::Game {

class EntityManager : public Graphics::GraphicList
{
public:
    EntityManager() = default;
    ~EntityManager() override = 0;

    // Reports an entity that already has a manager. Owned entities are destroyed on removal.
    void AddEntity(Entity* entity, bool owned = true);
    // Removes the entity now, or at the end of the running pass (simulate, update or render).
    void RemoveEntity(Entity* entity);

    // A copy of the entities indexed under the type, in the order they were added.
    std::vector<Entity*> GetEntitiesByType(const std::string& entityType) const;
    const std::vector<Entity*>& GetEntities() const { return mEntities; }

    // Active entities simulate, every collidable pair is tested, then removals are processed.
    virtual void OnSimulate();

protected:
    // The children update, then removals are processed.
    void OnUpdate(float deltaTime) override;
    // The children render; removals asked for meanwhile wait for the next pass.
    void OnRender() override;

private:
    friend class Entity;

    void RunCollisionPass();
    void ProcessPendingRemovals();
    void RemoveNow(Entity* entity);
    void Reindex(Entity* entity, const std::vector<std::string>& previousTypes);
    void Unindex(Entity* entity, const std::vector<std::string>& entityTypes);
    // Drops every reference to the entity without calling it; used by Entity's destructor.
    void Forget(Entity* entity);

    std::vector<Entity*> mEntities;
    std::vector<Entity*> mOwnedEntities;
    std::set<Entity*> mPendingRemovals;
    std::map<std::string, std::vector<Entity*>> mEntitiesByType;
    int mRunningPasses = 0; // safe to modify while zero
};

} // namespace Marrowgate::Game
