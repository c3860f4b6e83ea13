#include "marrowgate/game/mg_entity.h"

#include "marrowgate/game/mg_entity_manager.h"
#include "marrowgate/graphics/mg_basic_shapes.h"

#include <algorithm>
#include <utility>

namespace Marrowgate::Game {

namespace {
constexpr std::uint32_t kCollidableVolumeColor = 0x80FF0000u;
constexpr std::uint32_t kInertVolumeColor = 0x8000FF00u;
constexpr int kCircleSegments = 30;
} // namespace

Entity::Entity(const std::string& entityType) : mEntityTypes{entityType} {}

Entity::~Entity()
{
    if (mManager != nullptr) {
        mManager->Forget(this);
    }
    mBehaviours.PopAll();
    mBehaviours.DeletePopped();
}

void Entity::AddEntityType(const std::string& entityType)
{
    const std::vector<std::string> previousTypes = mEntityTypes;
    mEntityTypes.push_back(entityType);
    if (mManager != nullptr) {
        mManager->Reindex(this, previousTypes);
    }
}

bool Entity::IsEntityType(const std::string& entityType) const
{
    return std::find(mEntityTypes.begin(), mEntityTypes.end(), entityType) != mEntityTypes.end();
}

bool Entity::CollidesWith(const Entity& other) const
{
    if (!mIsCollidable || !other.mIsCollidable) {
        return false;
    }
    for (const BoundingVolume& volume : mBoundingVolumes) {
        const Core::Vector2 center = GetPosition() + volume.GetOffset();
        for (const BoundingVolume& otherVolume : other.mBoundingVolumes) {
            if (volume.Intersects(center, otherVolume, other.GetPosition() + otherVolume.GetOffset())) {
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
    std::optional<Contact> deepest;
    for (const BoundingVolume& volume : mBoundingVolumes) {
        const Core::Vector2 center = GetPosition() + volume.GetOffset();
        for (const BoundingVolume& otherVolume : other.mBoundingVolumes) {
            const std::optional<Contact> contact =
                volume.ContactWith(center, otherVolume, other.GetPosition() + otherVolume.GetOffset());
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

void Entity::OnSimulate()
{
    if (EntityBehaviour* behaviour = mBehaviours.Top()) {
        behaviour->OnSimulate();
    }
    mBehaviours.DeletePopped();
}

void Entity::OnCollide(Entity& other)
{
    if (EntityBehaviour* behaviour = mBehaviours.Top()) {
        behaviour->OnCollide(other);
    }
}

void Entity::OnUpdate(float deltaTime)
{
    if (EntityBehaviour* behaviour = mBehaviours.Top()) {
        behaviour->OnUpdate(deltaTime);
    }
    GraphicList::OnUpdate(deltaTime);
}

void Entity::OnRender()
{
    if (EntityBehaviour* behaviour = mBehaviours.Top()) {
        behaviour->OnRender();
    }
    GraphicList::OnRender();
}

void Entity::RenderBoundingVolumes()
{
    const Graphics::Color color(mIsCollidable ? kCollidableVolumeColor : kInertVolumeColor);
    for (const BoundingVolume& volume : mBoundingVolumes) {
        std::unique_ptr<Graphics::PolygonShape> shape;
        if (volume.IsCircle()) {
            shape = std::make_unique<Graphics::CircleShape>(volume.GetRadius(), color, volume.GetOffset(),
                                                            kCircleSegments);
        } else {
            shape = std::make_unique<Graphics::BoxShape>(volume.GetWidth(), volume.GetHeight(), color,
                                                         volume.GetOffset());
        }
        shape->SetOrigin(Graphics::AnchorLocation::Center);
        shape->SetDepth(1.0f);
        shape->Render();
    }
}

} // namespace Marrowgate::Game
