#pragma once
/// EntityManager: a graphic list of entities that steps them, tests every collidable pair once
/// per fixed step and removes entities only when no pass is iterating over them.
/// @file
/// Entities keep the order in which they were added; that is the order of the simulate pass and
/// of the collision pairs (for A, B, C all touching: A-B, B-A, A-C, C-A, B-C, C-B). Drawing is
/// the graphic list's, by depth. Game code derives from it (the destructor is pure).
/// Depends on: graphics (GraphicList), the entity, the bookkeeping shared with the 3D kit's
/// manager (mg_entity_manager_base.h).
///
/// Ownership: owned entities are destroyed when removed, and when the manager is destroyed while
/// still holding them (the last added first, without OnRemove); unowned ones are only released.
/// An entity destroyed while managed leaves its manager. Cost: O(n^2) volume tests per step.

#include "marrowgate/game/mg_entity.h"
#include "marrowgate/game/mg_entity_manager_base.h"
#include "marrowgate/graphics/mg_graphic_list.h"

namespace Marrowgate::Game {

class EntityManager : public Graphics::GraphicList, public EntityManagerBase<EntityManager, Entity>
{
public:
    EntityManager();
    ~EntityManager() override = 0;

    // Active entities simulate, every collidable pair is tested, then removals are processed.
    // Entities whose removal is pending are skipped everywhere but in drawing.
    virtual void OnSimulate();

protected:
    // The children update, then removals are processed.
    void OnUpdate(float deltaTime) override;
    // The children render; removals asked for meanwhile wait for the next pass.
    void OnRender() override;

private:
    friend class Entity;
    friend class EntityManagerBase<EntityManager, Entity>;

    void RunCollisionPass();
    // A child that is an entity whose removal is pending.
    bool IsPendingEntity(const Graphics::Graphic* child) const;
    // Managed entities are the manager's graphic children.
    void OnEntityListed(Entity* entity) { AddGraphic(entity); }
    void OnEntityUnlisted(Entity* entity) { RemoveGraphic(entity); }
};

} // namespace Marrowgate::Game
