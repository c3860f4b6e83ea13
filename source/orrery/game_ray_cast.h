#pragma once
/// Ray casts against the entities of an Orrery entity manager: which entity of a type a ray hits
/// first (under the mouse, in a line of sight).
/// @file
/// A ray sees what the collision pass sees: collidable entities that are not about to be
/// removed, through their bounding volumes
/// at the entity's world position, boxes axis-aligned and rotation ignored. Hits follow the
/// rules of cinderhall/cdh_ray.h (a ray starting inside a volume hits it at distance 0). Of two
/// entities hit at the same distance the one added first wins.
/// Depends on: the entity manager and Cinderhall's rays.

#include "cinderhall/cdh_ray.h"
#include "orrery/game_entity_manager.h"

#include <optional>
#include <string>

namespace Orrery::Game {

struct EntityRayHit
{
    Entity* entity = nullptr;
    Cinderhall::RayHit hit;
};

// The nearest hit on one of the entity's volumes.
std::optional<Cinderhall::RayHit> CastRayAtEntity(const Cinderhall::Ray& ray, const Entity& entity,
                                                  float maximumDistance = Cinderhall::kUnlimitedRayDistance);

// The nearest entity indexed under entityType that the ray hits; an empty type means any entity.
std::optional<EntityRayHit> CastRay(const EntityManager& manager, const Cinderhall::Ray& ray,
                                    const std::string& entityType = std::string(),
                                    float maximumDistance = Cinderhall::kUnlimitedRayDistance);

} // namespace Orrery::Game
