#pragma once
/// Entity: a 2D game object. It is a graphic list (its children are drawn with it) that also
/// simulates in fixed steps, carries bounding volumes, collides, and runs a stack of behaviours.
/// @file
/// Game code derives from it (the destructor is pure). The entity's entity manager steps it,
/// tests it against the others and removes it; see mg_entity_manager.h.
/// Depends on: graphics (GraphicList, shapes for the debug drawing), math (the 2D bounding
/// volume), the behaviour stack.
///
/// Limits: collision ignores the entity's rotation and scale; volumes sit at position + offset.

#include "marrowgate/game/mg_entity_behaviour.h"
#include "marrowgate/graphics/mg_graphic_list.h"
#include "marrowgate/math/mg_bounding_volume.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Marrowgate::Game {

class Entity;
class EntityManager;

using EntityBehaviour = EntityBehaviourInterface<Entity>;
using Marrowgate::Core::BoundingVolume;
using Contact = Marrowgate::Core::Contact2D;

class Entity : public Graphics::GraphicList
{
public:
    explicit Entity(const std::string& entityType);
    ~Entity() override = 0;

    // A managed entity is re-indexed by its manager at once.
    void AddEntityType(const std::string& entityType);
    bool IsEntityType(const std::string& entityType) const;
    const std::vector<std::string>& GetEntityTypes() const { return mEntityTypes; }
    // This entity as the game class Wanted, or null when it is not one: a type check and cast
    // in one, with no type name to keep in step with the class.
    template <typename Wanted> Wanted* As() { return dynamic_cast<Wanted*>(this); }
    template <typename Wanted> const Wanted* As() const { return dynamic_cast<const Wanted*>(this); }

    void AddBoundingVolume(const BoundingVolume& volume) { mBoundingVolumes.push_back(volume); }
    void ClearBoundingVolumes() { mBoundingVolumes.clear(); }
    const std::vector<BoundingVolume>& GetBoundingVolumes() const { return mBoundingVolumes; }
    void SetCollidable(bool collidable) { mIsCollidable = collidable; }
    bool IsCollidable() const { return mIsCollidable; }

    // True as soon as one volume of each, placed at its entity's position plus its offset,
    // intersect. False unless both entities are collidable.
    bool CollidesWith(const Entity& other) const;
    // How this entity touches the other, exactly when CollidesWith is true: of the volume pairs
    // that intersect, the deepest (the first found among equals). The normal points from the
    // other entity towards this one (see mg_contact.h). In OnCollide, the contact as things
    // stand: if the other entity has already moved away, there may be none.
    std::optional<Contact> GetContactWith(const Entity& other) const;

    void PushBehaviour(std::unique_ptr<EntityBehaviour> behaviour);
    // Popped behaviours are destroyed at the end of the next OnSimulate.
    void PopBehaviour();
    void PopAllBehaviours();
    EntityBehaviour* GetTopBehaviour() const { return mBehaviours.Top(); }

    EntityManager* GetManager() const { return mManager; }

    // The top behaviour's simulate, then the popped behaviours are destroyed.
    virtual void OnSimulate();
    // Debug drawing: each volume half-transparent, red when collidable and green when not.
    virtual void RenderBoundingVolumes();
    // Passes the collision to the top behaviour.
    virtual void OnCollide(Entity& other);
    // After the entity has been added to a manager.
    virtual void OnAdd() {}
    // While the entity is being removed from its manager.
    virtual void OnRemove() {}

protected:
    // The top behaviour first, then the children.
    void OnUpdate(float deltaTime) override;
    void OnRender() override;

private:
    friend class EntityManager;
    template <typename, typename> friend class EntityManagerBase;

    BehaviourStack<Entity> mBehaviours;
    std::vector<BoundingVolume> mBoundingVolumes;
    std::vector<std::string> mEntityTypes;
    EntityManager* mManager = nullptr;
    bool mIsCollidable = false;
    bool mRemovalPending = false; // set and cleared by the manager
};

} // namespace Marrowgate::Game
