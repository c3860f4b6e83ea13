#include "marrowgate/game/mg_entity_manager.h"

#include "marrowgate/core/mg_error.h"

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
            if (GetEntities()[index]->IsActive()) {
                GetEntities()[index]->OnSimulate();
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
    RunPassThenRemovals([this, deltaTime] { GraphicList::OnUpdate(deltaTime); });
}

void EntityManager::OnRender()
{
    const PassScope pass(*this);
    GraphicList::OnRender();
}

} // namespace Marrowgate::Game
