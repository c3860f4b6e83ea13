#include "marrowgate/game/mg_entity_manager.h"

#include "marrowgate/core/mg_error.h"

#include <algorithm>

namespace {
constexpr char kUnitName[] = "mg_entity_manager";
}

namespace Marrowgate::Game {

EntityManager::EntityManager() : EntityManagerBase(kUnitName) {}

EntityManager::~EntityManager()
{
    // The graphic list below only clears its pointers to the entities deleted here.
    ReleaseAllEntities();
}

void EntityManager::OnSimulate()
{
    RunPassThenRemovals([this] {
        // By index: an entity may add others while it simulates.
        for (std::size_t index = 0; index < GetEntities().size(); ++index) {
            Entity& entity = *GetEntities()[index];
            if (entity.IsActive() && !IsRemovalPending(entity)) {
                entity.OnSimulate();
            }
        }
        RunCollisionPass();
    });
}

// Inactive entities take part too: being inactive only stops their own stepping.
void EntityManager::RunCollisionPass()
{
    ForEachCollidablePair(
        [this](std::size_t /*first*/, std::size_t from, std::vector<std::size_t>& candidates) {
            AllCandidatesFrom(from, candidates);
        },
        [](Entity& entityA, Entity& entityB) {
            MG_ERROR_IF(&entityA == &entityB,
                        "mgInternalError: Should never do collision against the same entity.");
            if (!entityA.CollidesWith(entityB)) {
                return false;
            }
            entityA.OnCollide(entityB);
            entityB.OnCollide(entityA);
            return true;
        });
}

void EntityManager::OnUpdate(float deltaTime)
{
    RunPassThenRemovals([this, deltaTime] {
        // The children in draw order, as a graphic list updates them, but without the entities
        // already on their way out.
        const std::vector<Graphics::Graphic*>& children = GetGraphics();
        for (std::size_t index = 0; index < children.size(); ++index) {
            if (!IsPendingEntity(children[index])) {
                children[index]->Update(deltaTime);
            }
        }
    });
}

bool EntityManager::IsPendingEntity(const Graphics::Graphic* child) const
{
    const auto& pending = GetPendingRemovals();
    return std::any_of(pending.begin(), pending.end(),
                       [child](const Entity* entity) { return entity == child; });
}

void EntityManager::OnRender()
{
    const PassScope pass(*this);
    GraphicList::OnRender();
}

} // namespace Marrowgate::Game
