#pragma once
/// 3D game objects and the manager that steps them and tests them pairwise for collision.
/// @file
/// An Entity has a transform, type names, bounding volumes and three flags (collidable, active,
/// visible). An EntityManager keeps entities in insertion order, which is the order of every
/// pass and of the collision pairs: for entities 1, 2, 3 that all touch, the calls are (1,2),
/// (2,1), (1,3), (3,1), (2,3), (3,2). A broad phase (sorted boxes) skips pairs that cannot
/// touch without changing that order, so a sparse field costs about O(n log n) per step; a
/// crowded one falls back to testing every pair.
/// Removals requested while a pass runs are deferred to its end.
/// Depends on: marrowgate core (errors), math, the behaviour stack and the entity bookkeeping
/// (shared with the 2D manager) of the game framework, and the bounding volumes of this kit.
///
/// Ownership: entities added as owned are deleted when the manager removes them, and also when
/// the manager is destroyed while still holding them (the last added first, without OnRemove;
/// unowned entities are only released). An entity destroyed while managed leaves its manager.

#include "marrowgate/game/mg_entity_behaviour.h"
#include "marrowgate/game/mg_entity_manager_base.h"
#include "marrowgate/math/mg_matrix.h"
#include "marrowgate/math/mg_vector.h"
#include "orrery/game_bounding_volumes.h"

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace Orrery::Game {

class Entity;
class EntityManager;

using EntityBehaviour = Marrowgate::Game::EntityBehaviourInterface<Entity>;
using Contact = Marrowgate::Core::Contact3D;

class Entity
{
public:
    explicit Entity(const std::string& entityType);
    virtual ~Entity();
    Entity(const Entity&) = delete;
    Entity& operator=(const Entity&) = delete;

    // Each step runs the top behaviour's hook first, then the entity's own. Simulate and Update
    // do nothing while inactive; Render does nothing while invisible.
    void Simulate();
    void Update(float deltaTime);
    void Render();

    const Marrowgate::Core::Matrix4& GetTransform() const { return mTransform; }
    void SetTransform(const Marrowgate::Core::Matrix4& transform) { mTransform = transform; }
    // The translation of the transform (elements 3, 7, 11).
    Marrowgate::Core::Vector3 GetPosition() const;

    // Both make the entity collidable. The centre is relative to the entity's position.
    void AddBoundingSphere(float radius, const Marrowgate::Core::Vector3& center);
    void AddBoundingBox(float width, float height, float depth, const Marrowgate::Core::Vector3& center);
    const std::vector<BoundingVolume>& GetBoundingVolumes() const { return mBoundingVolumes; }

    bool IsEntityType(const std::string& entityType) const;
    // A managed entity is re-indexed by its manager at once.
    void AddEntityType(const std::string& entityType);
    const std::vector<std::string>& GetEntityTypes() const { return mEntityTypes; }
    // This entity as the game class Wanted, or null when it is not one: a type check and cast
    // in one, with no type name to keep in step with the class.
    template <typename Wanted> Wanted* As() { return dynamic_cast<Wanted*>(this); }
    template <typename Wanted> const Wanted* As() const { return dynamic_cast<const Wanted*>(this); }

    // True at the first pair of volumes that intersect once each is moved by its entity's
    // position; rotation is ignored. False unless both entities are collidable.
    bool IsCollidingWith(const Entity& other) const;
    // How this entity touches the other, exactly when IsCollidingWith is true: of the volume
    // pairs that intersect, the deepest (the first found among equals). The normal points from
    // the other entity towards this one (see marrowgate/math/mg_contact.h). In OnCollide, the
    // contact as things stand: if the other entity has already moved away, there may be none.
    std::optional<Contact> GetContactWith(const Entity& other) const;

    bool IsCollidable() const { return mIsCollidable; }
    void SetCollidable(bool collidable) { mIsCollidable = collidable; }
    bool IsActive() const { return mIsActive; }
    void SetActive(bool active) { mIsActive = active; }
    bool IsVisible() const { return mIsVisible; }
    void SetVisible(bool visible) { mIsVisible = visible; }

    EntityManager* GetManager() const { return mManager; }

    void PushBehaviour(std::unique_ptr<EntityBehaviour> behaviour);
    // Popped behaviours are destroyed after the current simulate, update or collide call.
    void PopBehaviour();
    void PopAllBehaviours();
    EntityBehaviour* GetTopBehaviour() const { return mBehaviours.Top(); }

    virtual void OnSimulate() {}
    virtual void OnUpdate(float /*deltaTime*/) {}
    virtual void OnRender() {}
    // Passes the collision to the top behaviour. Overrides call this first.
    virtual void OnCollide(Entity& other);
    // After the entity has been added to a manager.
    virtual void OnAdd() {}
    // While the entity is being removed from its manager.
    virtual void OnRemove() {}

private:
    friend class EntityManager;
    template <typename, typename> friend class Marrowgate::Game::EntityManagerBase;

    Marrowgate::Game::BehaviourStack<Entity> mBehaviours;
    std::vector<BoundingVolume> mBoundingVolumes;
    std::vector<std::string> mEntityTypes;
    Marrowgate::Core::Matrix4 mTransform;
    EntityManager* mManager = nullptr;
    bool mIsCollidable = false;
    bool mRemovalPending = false; // set and cleared by the manager
    bool mIsActive = true;
    bool mIsVisible = true;
};

class EntityManager : public Marrowgate::Game::EntityManagerBase<EntityManager, Entity>
{
public:
    EntityManager();
    virtual ~EntityManager();

    // Every entity's Simulate, then the collision pass, then the deferred removals (in the order
    // asked for). Entities whose removal is pending are skipped everywhere but in Render.
    virtual void Simulate();
    // Every entity's Update, then the deferred removals.
    virtual void Update(float deltaTime);
    virtual void Render();

    // Moves the entity from the index lists of previousTypes to those of its current types.
    void UpdateEntityTypes(Entity* entity, const std::vector<std::string>& previousTypes);

private:
    friend class Entity;

    void RunCollisionPass();
};

} // namespace Orrery::Game
