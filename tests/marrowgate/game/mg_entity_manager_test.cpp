// 2D entities in their manager: the simulate pass and collision pairs, deferred removal, the
// type index, ownership, and a game scene's camera.

#include "marrowgate/game/mg_entity_manager.h"
#include "marrowgate/game/mg_game_scene.h"
#include "marrowgate/graphics/mg_camera.h"
#include "support/error_capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Marrowgate::Core::Vector2;
using Marrowgate::Game::BoundingVolume;
using Marrowgate::Game::Entity;
using Marrowgate::Game::EntityBehaviour;
using Marrowgate::Game::EntityManager;
using Marrowgate::Game::GameScene;

class JournalEntity : public Entity
{
public:
    JournalEntity(std::string name, std::vector<std::string>& journal, bool* destroyed = nullptr)
        : Entity("JournalEntity"), mName(std::move(name)), mJournal(journal), mDestroyed(destroyed)
    {
        AddBoundingVolume(BoundingVolume::Circle(1.0f));
        SetCollidable(true);
    }
    ~JournalEntity() override
    {
        if (mDestroyed != nullptr) {
            *mDestroyed = true;
        }
    }

    void OnSimulate() override
    {
        Entity::OnSimulate();
        mJournal.push_back(mName + ".simulate");
        RemoveAll(removeOnSimulate);
    }
    void OnCollide(Entity& other) override
    {
        Entity::OnCollide(other);
        mJournal.push_back(mName + "-" + static_cast<JournalEntity&>(other).mName);
        if (removeBothOnCollide) {
            RemoveAll({&other, this});
        }
    }
    void OnRemove() override { mJournal.push_back(mName + ".remove"); }

protected:
    void OnUpdate(float deltaTime) override
    {
        Entity::OnUpdate(deltaTime);
        mJournal.push_back(mName + ".update");
        RemoveAll(removeOnUpdate);
    }

public:
    // Removed, in this order, when the entity simulates or updates.
    std::vector<Entity*> removeOnSimulate;
    std::vector<Entity*> removeOnUpdate;
    // On a collision: the other entity, then this one, as a bullet that destroys its target.
    bool removeBothOnCollide = false;

private:
    void RemoveAll(const std::vector<Entity*>& entities)
    {
        for (Entity* entity : entities) {
            GetManager()->RemoveEntity(entity);
        }
    }

    std::string mName;
    std::vector<std::string>& mJournal;
    bool* mDestroyed;
};

class Manager : public EntityManager
{
};

class EntityManager2DTest : public testing::Test
{
protected:
    JournalEntity* Add(const std::string& name, bool* destroyed = nullptr)
    {
        auto* entity = new JournalEntity(name, journal, destroyed);
        manager.AddEntity(entity);
        return entity;
    }

    std::vector<std::string> journal;
    Manager manager;
};

TEST_F(EntityManager2DTest, OverlappingEntitiesCollideInPairOrderAndInactiveOnesTakePart)
{
    Add("A");
    Add("B")->SetActive(false);
    Add("C");
    journal.clear();
    manager.OnSimulate();
    const std::vector<std::string> expected{"A.simulate", "C.simulate", "A-B", "B-A",
                                            "A-C",        "C-A",        "B-C", "C-B"};
    EXPECT_EQ(journal, expected);
}

TEST_F(EntityManager2DTest, CollidableEntitiesWithoutVolumesNeverCollide)
{
    JournalEntity* first = Add("first");
    JournalEntity* empty = Add("empty");
    empty->ClearBoundingVolumes();
    EXPECT_FALSE(first->CollidesWith(*empty));
    empty->AddBoundingVolume(BoundingVolume::Box(2, 2, Vector2(10, 0)));
    EXPECT_FALSE(first->CollidesWith(*empty));
    empty->SetPosition(Vector2(-10, 0)); // the box now sits at position + offset = the origin
    EXPECT_TRUE(first->CollidesWith(*empty));
    first->SetCollidable(false);
    EXPECT_FALSE(empty->CollidesWith(*first));
}

TEST_F(EntityManager2DTest, AnEntityThatRemovesItselfDuringUpdateGoesAfterThePass)
{
    bool destroyed = false;
    JournalEntity* leaving = Add("leaving", &destroyed);
    JournalEntity* staying = Add("staying");
    leaving->removeOnUpdate = {leaving};
    journal.clear();
    manager.Update(0.01f);
    const std::vector<std::string> expected{"leaving.update", "staying.update", "leaving.remove"};
    EXPECT_EQ(journal, expected);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(manager.GetEntities(), std::vector<Entity*>{staying});
    EXPECT_EQ(manager.GetGraphics(), std::vector<Marrowgate::Graphics::Graphic*>{staying});
    EXPECT_EQ(manager.GetEntitiesByType("JournalEntity"), std::vector<Entity*>{staying});
}

// The bullet overlaps three enemies that do not overlap one another.
TEST_F(EntityManager2DTest, ABulletThatRemovesItselfAndItsTargetHitsOnlyTheFirstEnemy)
{
    JournalEntity* bullet = Add("bullet");
    bullet->removeBothOnCollide = true;
    Add("A")->SetPosition(Vector2(-1.5f, 0.0f));
    Add("B")->SetPosition(Vector2(0.0f, 1.5f));
    JournalEntity* survivorC = Add("C");
    survivorC->SetPosition(Vector2(1.5f, 0.0f));
    JournalEntity* survivorB = static_cast<JournalEntity*>(manager.GetEntities()[2]);
    journal.clear();
    manager.OnSimulate();
    const std::vector<std::string> expected{"bullet.simulate", "A.simulate", "B.simulate", "C.simulate",
                                            "bullet-A",        "A-bullet",   "A.remove",   "bullet.remove"};
    EXPECT_EQ(journal, expected);
    EXPECT_EQ(manager.GetEntities(), (std::vector<Entity*>{survivorB, survivorC}));
}

// Asked for in the reverse of their addresses, so an order by address would show.
TEST_F(EntityManager2DTest, EntitiesAskedToGoStopAtOnceAndGoInTheOrderAsked)
{
    JournalEntity* boss = Add("boss");
    boss->SetCollidable(false);
    std::vector<std::pair<Entity*, std::string>> minions{
        {Add("m1"), "m1"}, {Add("m2"), "m2"}, {Add("m3"), "m3"}};
    std::ranges::sort(minions, std::greater<>(), &std::pair<Entity*, std::string>::first);
    std::vector<std::string> expected{"boss.simulate"};
    for (const auto& [minion, name] : minions) {
        boss->removeOnSimulate.push_back(minion);
        expected.push_back(name + ".remove");
    }
    journal.clear();
    manager.OnSimulate();
    // The minions overlap one another, yet once asked to go they neither simulate nor collide.
    EXPECT_EQ(journal, expected);
    EXPECT_EQ(manager.GetEntities(), std::vector<Entity*>{boss});
}

TEST_F(EntityManager2DTest, AnEntityAskedToGoDuringUpdateIsNotUpdated)
{
    JournalEntity* first = Add("first");
    first->removeOnUpdate = {Add("second")};
    journal.clear();
    manager.Update(0.01f);
    EXPECT_EQ(journal, (std::vector<std::string>{"first.update", "second.remove"}));
}

TEST_F(EntityManager2DTest, TheTypeIndexFollowsAddedTypes)
{
    JournalEntity* first = Add("first");
    JournalEntity* second = Add("second");
    EXPECT_TRUE(manager.GetEntitiesByType("Player").empty());
    second->AddEntityType("Player");
    first->AddEntityType("Player");
    EXPECT_EQ(manager.GetEntitiesByType("Player"), (std::vector<Entity*>{second, first}));
    // Re-indexing moves an entity to the end of its lists, but never lists it twice.
    EXPECT_EQ(manager.GetEntitiesByType("JournalEntity"), (std::vector<Entity*>{second, first}));
}

TEST_F(EntityManager2DTest, ASecondManagerIsRefused)
{
    JournalEntity* entity = Add("a");
    Manager other;
    QuorvaneTest::ErrorCapture errors;
    other.AddEntity(entity);
    EXPECT_EQ(errors.Last(),
              "mgExternalError: Cannot add this entity to an entity manager, it is already being managed.");
    EXPECT_EQ(entity->GetManager(), &manager);
    EXPECT_TRUE(other.GetGraphics().empty());
}

TEST_F(EntityManager2DTest, OwnedEntitiesDieWithTheManagerAndUnownedOnesAreReleased)
{
    bool ownedDestroyed = false;
    bool keptDestroyed = false;
    JournalEntity kept("kept", journal, &keptDestroyed);
    {
        Manager shortLived;
        shortLived.AddEntity(new JournalEntity("owned", journal, &ownedDestroyed));
        shortLived.AddEntity(&kept, false);
    }
    EXPECT_TRUE(ownedDestroyed);
    EXPECT_FALSE(keptDestroyed);
    EXPECT_EQ(kept.GetManager(), nullptr);
    manager.AddEntity(&kept, false); // free to join another manager
    manager.RemoveEntity(&kept);
    EXPECT_FALSE(keptDestroyed);
}

class Counter : public EntityBehaviour
{
public:
    explicit Counter(int& simulations) : mSimulations(simulations) {}
    void OnSimulate() override { ++mSimulations; }

private:
    int& mSimulations;
};

TEST_F(EntityManager2DTest, TheTopBehaviourSimulatesUntilPopped)
{
    int lower = 0;
    int upper = 0;
    JournalEntity* entity = Add("e");
    entity->PushBehaviour(std::make_unique<Counter>(lower));
    entity->PushBehaviour(std::make_unique<Counter>(upper));
    manager.OnSimulate();
    entity->PopBehaviour();
    manager.OnSimulate();
    EXPECT_EQ(upper, 1);
    EXPECT_EQ(lower, 1);
    entity->PopAllBehaviours();
    EXPECT_EQ(entity->GetTopBehaviour(), nullptr);
}

class Scene : public GameScene
{
};

TEST(GameScene2D, OpeningInstallsTheSceneCameraAndClosingOrDestroyingRemovesIt)
{
    Marrowgate::Graphics::Camera* defaultCamera = &Marrowgate::Graphics::GetActiveCamera();
    {
        Scene scene;
        scene.SetStepAccumulator(0.5f);
        scene.OnOpen();
        EXPECT_EQ(scene.GetStepAccumulator(), 0.0f);
        EXPECT_EQ(&Marrowgate::Graphics::GetActiveCamera(), &scene.GetCamera());
        scene.OnClose();
        EXPECT_EQ(&Marrowgate::Graphics::GetActiveCamera(), defaultCamera);
        scene.OnOpen();
    }
    EXPECT_EQ(&Marrowgate::Graphics::GetActiveCamera(), defaultCamera);
}

} // namespace
