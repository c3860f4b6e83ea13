#include "orrery/game_ray_cast.h"

namespace Orrery::Game {

std::optional<Cinderhall::RayHit> CastRayAtEntity(const Cinderhall::Ray& ray, const Entity& entity,
                                                  float maximumDistance)
{
    if (!entity.IsCollidable()) {
        return std::nullopt;
    }
    const Marrowgate::Core::Vector3 position = entity.GetWorldPosition();
    std::optional<Cinderhall::RayHit> nearest;
    for (const BoundingVolume& volume : entity.GetBoundingVolumes()) {
        const float limit = nearest ? nearest->distance : maximumDistance;
        const std::optional<Cinderhall::RayHit> hit =
            volume.IsSphere()
                ? Cinderhall::IntersectRaySphere(ray, position + volume.center, volume.GetRadius(), limit)
                : Cinderhall::IntersectRayBox(ray, position + volume.center, volume.GetSize(), limit);
        if (hit && (!nearest || hit->distance < nearest->distance)) {
            nearest = hit;
        }
    }
    return nearest;
}

std::optional<EntityRayHit> CastRay(const EntityManager& manager, const Cinderhall::Ray& ray,
                                    const std::string& entityType, float maximumDistance)
{
    const std::vector<Entity*> candidates =
        entityType.empty() ? manager.GetEntities() : manager.GetEntitiesByType(entityType);
    std::optional<EntityRayHit> nearest;
    for (Entity* entity : candidates) {
        if (EntityManager::IsRemovalPending(*entity)) {
            continue; // on its way out of the game
        }
        const float limit = nearest ? nearest->hit.distance : maximumDistance;
        const std::optional<Cinderhall::RayHit> hit = CastRayAtEntity(ray, *entity, limit);
        if (hit && (!nearest || hit->distance < nearest->hit.distance)) {
            nearest = EntityRayHit{entity, *hit};
        }
    }
    return nearest;
}

} // namespace Orrery::Game
