// The 3D entity manager: pass order, the collision pairs, removals, the type index, behaviours
// and what happens to entities when the manager goes away.

#include "orrery/game_entity_manager.h"
#include "support/error_capture.h"
#include "support/vector_expectations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using Marrowgate::Core::Matrix4;
using Marrowgate::Core::Vector3;
using Orrery::Game::Entity;
using Orrery::Game::EntityBehaviour;
using Orrery::Game::EntityManager;

// Every hook appends "<name>.<hook>" to a shared journal.
class JournalEntity : public Entity
{
public:
    JournalEntity(std::string name, std::vector<std::string>& journal, bool* destroyed = nullptr)
        : Entity("JournalEntity"), mName(std::move(name)), mJournal(journal), mDestroyed(destroyed)
    {}
    ~JournalEntity() override
    {
        if (mDestroyed != nullptr) {
            *mDestroyed = true;
        }
    }

    void OnSimulate() override { mJournal.push_back(mName + ".simulate"); }
    void OnUpdate(float) override { mJournal.push_back(mName + ".update"); }
    void OnRender() override { mJournal.push_back(mName + ".render"); }
    void OnCollide(Entity& other) override
    {
        Entity::OnCollide(other);
        mJournal.push_back(mName + "-" + static_cast<JournalEntity&>(other).mName);
    }
    void OnAdd() override { mJournal.push_back(mName + ".add"); }
    void OnRemove() override { mJournal.push_back(mName + ".remove"); }

    void PlaceAt(float x, float y, float z)
    {
        Matrix4 transform;
        transform.SetPosition(x, y, z);
        SetTransform(transform);
    }

private:
    std::string mName;
    std::vector<std::string>& mJournal;
    bool* mDestroyed;
};

class EntityManagerTest : public testing::Test
{
protected:
    JournalEntity* Add(const std::string& name, bool collidable = true)
    {
        auto* entity = new JournalEntity(name, journal);
        if (collidable) {
            entity->AddBoundingSphere(1.0f, Vector3());
        }
        manager.AddEntity(entity);
        return entity;
    }

    std::vector<std::string> journal;
    EntityManager manager;
};

TEST_F(EntityManagerTest, ThreeOverlappingEntitiesCollideInPairOrder)
{
    Add("1");
    Add("2");
    Add("3");
    journal.clear();
    manager.Simulate();
    const std::vector<std::string> expected{"1.simulate", "2.simulate", "3.simulate", "1-2", "2-1",
                                            "1-3",        "3-1",        "2-3",        "3-2"};
    EXPECT_EQ(journal, expected);
}

TEST_F(EntityManagerTest, EntitiesWithoutVolumesOrNotCollidableNeverCollide)
{
    Add("a");
    Add("plain", false);
    JournalEntity* switchedOff = Add("off");
    switchedOff->SetCollidable(false);
    journal.clear();
    manager.Simulate();
    for (const std::string& entry : journal) {
        EXPECT_EQ(entry.find('-'), std::string::npos) << entry;
    }
}

TEST_F(EntityManagerTest, AnInactiveEntityStillCollidesAndRenders)
{
    Add("a");
    JournalEntity* idle = Add("b");
    idle->SetActive(false);
    journal.clear();
    manager.Simulate();
    manager.Update(0.01f);
    manager.Render();
    const std::vector<std::string> expected{"a.simulate", "a-b", "b-a", "a.update", "a.render", "b.render"};
    EXPECT_EQ(journal, expected);
}

TEST_F(EntityManagerTest, RotationDoesNotTurnABoundingBox)
{
    auto* box = new JournalEntity("box", journal);
    box->AddBoundingBox(1, 1, 1, Vector3());
    Matrix4 turned = Marrowgate::Core::CreateRotationY(0.7853982f);
    turned.SetPosition(5, 0, 0);
    box->SetTransform(turned);
    auto* probe = new JournalEntity("probe", journal);
    probe->AddBoundingSphere(0.1f, Vector3());
    probe->PlaceAt(5.65f, 0, 0); // beyond the axis-aligned box; a turned box would reach it
    manager.AddEntity(box);
    manager.AddEntity(probe);
    EXPECT_FALSE(box->IsCollidingWith(*probe));
    probe->PlaceAt(5.45f, 0.45f, 0.45f);
    EXPECT_TRUE(box->IsCollidingWith(*probe));
}

TEST_F(EntityManagerTest, VolumeCentresAreRelativeToThePosition)
{
    JournalEntity* first = Add("first");
    auto* offset = new JournalEntity("offset", journal);
    offset->AddBoundingSphere(1.0f, Vector3(10, 0, 0));
    offset->PlaceAt(-10, 0, 0);
    manager.AddEntity(offset);
    EXPECT_TRUE(first->IsCollidingWith(*offset));
    offset->PlaceAt(-7, 0, 0);
    EXPECT_FALSE(first->IsCollidingWith(*offset));
}

TEST_F(EntityManagerTest, TheTypeIndexAnswersWithoutGrowing)
{
    JournalEntity* first = Add("first");
    JournalEntity* second = Add("second");
    EXPECT_TRUE(manager.GetEntitiesByType("CarEntity").empty());
    EXPECT_EQ(manager.GetEntitiesByType("JournalEntity"), (std::vector<Entity*>{first, second}));
    second->AddEntityType("Special");
    EXPECT_EQ(manager.GetEntitiesByType("Special"), std::vector<Entity*>{second});
    // Re-indexing must not list the entity twice under its old type.
    EXPECT_EQ(manager.GetEntitiesByType("JournalEntity"), (std::vector<Entity*>{first, second}));
    EXPECT_TRUE(second->IsEntityType("Special"));
    EXPECT_FALSE(first->IsEntityType("Special"));
}

TEST_F(EntityManagerTest, RemovalDuringAPassWaitsForItsEnd)
{
    bool destroyed = false;
    auto* doomed = new JournalEntity("doomed", journal, &destroyed);
    doomed->AddBoundingSphere(1.0f, Vector3());
    manager.AddEntity(doomed);
    JournalEntity* survivor = Add("survivor");

    // Asked for from inside the collision pass, as a collected pickup would.
    class RemoveOnCollide : public EntityBehaviour
    {
    public:
        explicit RemoveOnCollide(Entity& owner) : mOwner(owner) {}
        void OnCollide(Entity&) override { mOwner.GetManager()->RemoveEntity(&mOwner); }

    private:
        Entity& mOwner;
    };
    doomed->PushBehaviour(std::make_unique<RemoveOnCollide>(*doomed));
    journal.clear();
    manager.Simulate();
    const std::vector<std::string> expected{"doomed.simulate", "survivor.simulate", "doomed-survivor",
                                            "survivor-doomed", "doomed.remove"};
    EXPECT_EQ(journal, expected);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(manager.GetEntities(), std::vector<Entity*>{survivor});
    EXPECT_TRUE(manager.GetEntitiesByType("JournalEntity") == std::vector<Entity*>{survivor});
}

// A bullet that destroys itself and its target, overlapping three enemies that do not overlap
// one another: only the first enemy is hit, and nothing on its way out simulates or updates.
TEST_F(EntityManagerTest, EntitiesAskedToGoStopAtOnceAndGoInTheOrderAsked)
{
    class Bullet : public JournalEntity
    {
    public:
        using JournalEntity::JournalEntity;
        void OnCollide(Entity& other) override
        {
            JournalEntity::OnCollide(other);
            GetManager()->RemoveEntity(&other);
            GetManager()->RemoveEntity(this);
        }
    };
    auto* bullet = new Bullet("bullet", journal);
    bullet->AddBoundingSphere(1.0f, Vector3());
    manager.AddEntity(bullet);
    Add("A")->PlaceAt(-1.5f, 0.0f, 0.0f);
    JournalEntity* enemyB = Add("B");
    enemyB->PlaceAt(0.0f, 1.5f, 0.0f);
    JournalEntity* enemyC = Add("C");
    enemyC->PlaceAt(1.5f, 0.0f, 0.0f);
    journal.clear();
    manager.Simulate();
    const std::vector<std::string> expected{"bullet.simulate", "A.simulate", "B.simulate", "C.simulate",
                                            "bullet-A",        "A-bullet",   "A.remove",   "bullet.remove"};
    EXPECT_EQ(journal, expected);
    EXPECT_EQ(manager.GetEntities(), (std::vector<Entity*>{enemyB, enemyC}));

    // Removals asked for during an update, in the reverse of the entities' addresses.
    class Remover : public EntityBehaviour
    {
    public:
        Remover(EntityManager& manager, std::vector<Entity*> doomed)
            : mManager(manager), mDoomed(std::move(doomed))
        {}
        void OnUpdate(float) override
        {
            for (Entity* entity : mDoomed) {
                mManager.RemoveEntity(entity);
            }
        }

    private:
        EntityManager& mManager;
        std::vector<Entity*> mDoomed;
    };
    // B asks for both, so C, which comes after it, is not updated.
    std::vector<std::pair<Entity*, std::string>> doomed{{enemyB, "B"}, {enemyC, "C"}};
    std::ranges::sort(doomed, std::greater<>(), &std::pair<Entity*, std::string>::first);
    enemyB->PushBehaviour(
        std::make_unique<Remover>(manager, std::vector<Entity*>{doomed[0].first, doomed[1].first}));
    journal.clear();
    manager.Update(0.01f);
    EXPECT_EQ(journal, (std::vector<std::string>{"B.update", doomed[0].second + ".remove",
                                                 doomed[1].second + ".remove"}));
}

TEST_F(EntityManagerTest, AnUnownedEntitySurvivesRemovalAndMayBeAddedAgain)
{
    bool destroyed = false;
    JournalEntity kept("kept", journal, &destroyed);
    manager.AddEntity(&kept, false);
    manager.RemoveEntity(&kept); // no pass runs: removed at once
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(kept.GetManager(), nullptr);
    EntityManager other;
    other.AddEntity(&kept, false);
    EXPECT_EQ(kept.GetManager(), &other);
    other.RemoveEntity(&kept);
}

TEST_F(EntityManagerTest, AddingAManagedEntityOrRemovingAStrangerIsReported)
{
    JournalEntity* entity = Add("a");
    EntityManager other;
    QuorvaneTest::ErrorCapture errors;
    other.AddEntity(entity);
    EXPECT_EQ(errors.Last(),
              "mgExternalError: Cannot add this entity to an entity manager, it is already being managed.");
    EXPECT_TRUE(other.GetEntities().empty());
    other.RemoveEntity(entity);
    EXPECT_EQ(errors.messages.size(), 2u);
    EXPECT_EQ(entity->GetManager(), &manager);
}

TEST_F(EntityManagerTest, DestroyingTheManagerDeletesOwnedEntitiesOnly)
{
    bool ownedDestroyed = false;
    bool keptDestroyed = false;
    JournalEntity kept("kept", journal, &keptDestroyed);
    {
        EntityManager shortLived;
        shortLived.AddEntity(new JournalEntity("owned", journal, &ownedDestroyed));
        shortLived.AddEntity(&kept, false);
        journal.clear();
    }
    EXPECT_TRUE(ownedDestroyed);
    EXPECT_FALSE(keptDestroyed);
    EXPECT_EQ(kept.GetManager(), nullptr);
    EXPECT_TRUE(journal.empty()); // no OnRemove while tearing down
}

TEST_F(EntityManagerTest, AnEntityDestroyedWhileManagedLeavesItsManager)
{
    JournalEntity* first = Add("first");
    {
        JournalEntity local("local", journal);
        local.AddBoundingSphere(1.0f, Vector3());
        manager.AddEntity(&local, false);
    }
    journal.clear();
    manager.Simulate();
    EXPECT_EQ(manager.GetEntities(), std::vector<Entity*>{first});
    EXPECT_EQ(journal, std::vector<std::string>{"first.simulate"});
}

// A behaviour that records its notifications and pops itself on its first simulate.
class SelfPoppingBehaviour : public EntityBehaviour
{
public:
    SelfPoppingBehaviour(Entity& owner, std::vector<std::string>& journal, std::string name)
        : mOwner(owner), mJournal(journal), mName(std::move(name))
    {}
    ~SelfPoppingBehaviour() override { mJournal.push_back(mName + " destroyed"); }
    void OnPushed() override { mJournal.push_back(mName + " pushed"); }
    void OnPopped() override { mJournal.push_back(mName + " popped"); }
    void OnCovered() override { mJournal.push_back(mName + " covered"); }
    void OnUncovered() override { mJournal.push_back(mName + " uncovered"); }
    void OnSimulate() override
    {
        mJournal.push_back(mName + " simulate");
        mOwner.PopBehaviour();
        mJournal.push_back(mName + " still alive");
    }

private:
    Entity& mOwner;
    std::vector<std::string>& mJournal;
    std::string mName;
};

TEST_F(EntityManagerTest, OnlyTheTopBehaviourRunsAndAPoppedOneDiesAfterTheStep)
{
    JournalEntity* entity = Add("e", false);
    entity->PushBehaviour(std::make_unique<SelfPoppingBehaviour>(*entity, journal, "lower"));
    entity->PushBehaviour(std::make_unique<SelfPoppingBehaviour>(*entity, journal, "upper"));
    journal.clear();
    manager.Simulate();
    const std::vector<std::string> expected{"upper simulate",    "upper popped", "lower uncovered",
                                            "upper still alive", "e.simulate",   "upper destroyed"};
    EXPECT_EQ(journal, expected);
    EXPECT_NE(entity->GetTopBehaviour(), nullptr);
}

TEST_F(EntityManagerTest, AnEntityPopsAndDestroysItsBehavioursWhenDestroyed)
{
    {
        JournalEntity entity("e", journal);
        entity.PushBehaviour(std::make_unique<SelfPoppingBehaviour>(entity, journal, "lower"));
        entity.PushBehaviour(std::make_unique<SelfPoppingBehaviour>(entity, journal, "upper"));
        journal.clear();
    }
    const std::vector<std::string> expected{"upper popped", "lower uncovered", "lower popped",
                                            "lower destroyed", "upper destroyed"};
    EXPECT_EQ(journal, expected);
}

} // namespace

namespace {

// A field of spheres and boxes where colliding entities jump elsewhere, switch their collision
// off or change shape, as game entities do. The manager's pass must make exactly the calls of
// the plain double loop, in the same order, whatever its broad phase skips.
class Restless : public Entity
{
public:
    Restless(int name, std::vector<std::pair<int, int>>& journal, std::mt19937& random)
        : Entity("Restless"), mName(name), mJournal(journal), mRandom(random)
    {}
    void OnCollide(Entity& other) override
    {
        Entity::OnCollide(other);
        mJournal.emplace_back(mName, static_cast<Restless&>(other).mName);
        switch (mRandom() % 4) {
        case 0:
            PlaceAt(Coordinate(), Coordinate(), Coordinate());
            break;
        case 1:
            SetCollidable(false);
            break;
        case 2:
            AddBoundingSphere(0.5f + static_cast<float>(mRandom() % 4), Vector3());
            break;
        default:
            break;
        }
    }
    void PlaceAt(float x, float y, float z)
    {
        Matrix4 transform;
        transform.SetPosition(x, y, z);
        SetTransform(transform);
    }
    float Coordinate() { return static_cast<float>(mRandom() % 4000) / 100.0f - 20.0f; }

private:
    int mName;
    std::vector<std::pair<int, int>>& mJournal;
    std::mt19937& mRandom;
};

std::vector<std::pair<int, int>> RunField(bool throughManager, unsigned seed, int count)
{
    std::vector<std::pair<int, int>> journal;
    std::mt19937 random(seed);
    EntityManager manager;
    std::vector<Entity*> entities;
    for (int index = 0; index < count; ++index) {
        auto* entity = new Restless(index, journal, random);
        if (random() % 3 == 0) {
            entity->AddBoundingBox(1.0f + static_cast<float>(random() % 3), 1.0f, 2.0f, Vector3(0.5f, 0, 0));
        } else {
            entity->AddBoundingSphere(0.25f + static_cast<float>(random() % 8) * 0.25f, Vector3());
        }
        entity->PlaceAt(entity->Coordinate(), entity->Coordinate() * 0.1f, entity->Coordinate());
        entity->SetCollidable(random() % 10 != 0);
        manager.AddEntity(entity);
        entities.push_back(entity);
    }
    for (int step = 0; step < 5; ++step) {
        if (throughManager) {
            manager.Simulate();
            continue;
        }
        for (std::size_t first = 0; first < entities.size(); ++first) {
            if (!entities[first]->IsCollidable()) {
                continue;
            }
            for (std::size_t second = first + 1; second < entities.size(); ++second) {
                if (entities[second]->IsCollidable() && entities[first]->IsCollidingWith(*entities[second])) {
                    entities[first]->OnCollide(*entities[second]);
                    entities[second]->OnCollide(*entities[first]);
                }
            }
        }
    }
    return journal;
}

TEST(CollisionPass, MakesExactlyThePlainLoopsCallsInItsOrder)
{
    // 40 entities stay under the rebuild budget; 300 in the same space pass it.
    for (int count : {40, 300}) {
        std::size_t collisions = 0;
        for (unsigned seed = 1; seed <= 8; ++seed) {
            const auto expected = RunField(false, seed, count);
            EXPECT_EQ(RunField(true, seed, count), expected)
                << "seed " << seed << ", " << count << " entities";
            collisions += expected.size();
        }
        EXPECT_GT(collisions, 8u) << count << " entities";
    }
}

// Parenting: world transforms through the chain of parents, and what removal and destruction do
// to children.

void ExpectAt(const Entity& entity, const Vector3& expected)
{
    QuorvaneTest::ExpectNear(entity.GetWorldPosition(), expected);
}

TEST_F(EntityManagerTest, AChildMovesAndTurnsWithItsParent)
{
    JournalEntity* parent = Add("parent");
    JournalEntity* child = Add("child");
    JournalEntity* grandchild = Add("grandchild");
    parent->PlaceAt(10, 0, 0);
    child->SetParent(parent);
    child->SetTransform(Marrowgate::Core::MatrixCreateTranslation(1, 0, 0));
    grandchild->SetParent(child);
    grandchild->SetTransform(Marrowgate::Core::MatrixCreateTranslation(0, 2, 0));
    ExpectAt(*child, {11, 0, 0});
    ExpectAt(*grandchild, {11, 2, 0});

    parent->PlaceAt(20, 0, 5);
    ExpectAt(*grandchild, {21, 2, 5});

    // A quarter turn about y takes +x to -z.
    Matrix4 turned = Marrowgate::Core::CreateRotationY(Marrowgate::Core::PiOverTwo);
    turned.SetPosition(20, 0, 5);
    parent->SetTransform(turned);
    ExpectAt(*child, {20, 0, 4});
    ExpectAt(*grandchild, {20, 2, 4});
    EXPECT_EQ(parent->GetChildren(), std::vector<Entity*>{child});
    EXPECT_EQ(grandchild->GetParent(), child);
}

TEST_F(EntityManagerTest, AttachingAndDetachingKeepTheWorldPlace)
{
    JournalEntity* parent = Add("parent");
    JournalEntity* child = Add("child");
    Matrix4 turned = Marrowgate::Core::CreateRotationY(Marrowgate::Core::PiOverTwo);
    turned.SetPosition(10, 0, 0);
    parent->SetTransform(turned);
    child->PlaceAt(3, 4, 5);
    child->SetParent(parent);
    ExpectAt(*child, {3, 4, 5});
    parent->PlaceAt(0, 0, 0); // the turn goes too
    child->SetParent(nullptr);
    EXPECT_EQ(parent->GetChildren().size(), 0u);
    QuorvaneTest::ExpectNear(child->GetPosition(), child->GetWorldPosition());
}

TEST_F(EntityManagerTest, AnEntityCannotBecomeItsOwnAncestor)
{
    JournalEntity* top = Add("top");
    JournalEntity* middle = Add("middle");
    JournalEntity* bottom = Add("bottom");
    middle->SetParent(top);
    bottom->SetParent(middle);
    QuorvaneTest::ErrorCapture errors;
    top->SetParent(bottom);
    top->SetParent(top);
    ASSERT_EQ(errors.messages.size(), 2u);
    EXPECT_EQ(errors.Last(),
              "mgExternalError: Cannot make an entity the parent of itself or of its own ancestors.");
    EXPECT_EQ(top->GetParent(), nullptr);
}

TEST_F(EntityManagerTest, CollisionAndTheChildsVolumesUseWorldPositions)
{
    JournalEntity* parent = Add("parent", false);
    JournalEntity* child = Add("child");
    JournalEntity* probe = Add("probe");
    parent->PlaceAt(50, 0, 0);
    child->SetParent(parent);
    child->SetTransform(Matrix4());
    probe->PlaceAt(50, 1.5f, 0);
    journal.clear();
    manager.Simulate();
    const std::vector<std::string> expected{"parent.simulate", "child.simulate", "probe.simulate",
                                            "child-probe", "probe-child"};
    EXPECT_EQ(journal, expected);
}

TEST_F(EntityManagerTest, RemovingAParentRemovesItsChildrenFirst)
{
    bool childDestroyed = false;
    JournalEntity* parent = Add("parent");
    auto* child = new JournalEntity("child", journal, &childDestroyed);
    manager.AddEntity(child);
    JournalEntity* grandchild = Add("grandchild");
    JournalEntity* bystander = Add("bystander");
    child->SetParent(parent);
    grandchild->SetParent(child);
    JournalEntity elsewhere("elsewhere", journal); // unmanaged: stays, and keeps its place
    elsewhere.PlaceAt(1, 2, 3);
    elsewhere.SetParent(parent);

    journal.clear();
    manager.RemoveEntity(parent);
    const std::vector<std::string> expected{"grandchild.remove", "child.remove", "parent.remove"};
    EXPECT_EQ(journal, expected);
    EXPECT_TRUE(childDestroyed);
    EXPECT_EQ(manager.GetEntities(), std::vector<Entity*>{bystander});
    EXPECT_EQ(elsewhere.GetParent(), nullptr);
    ExpectAt(elsewhere, {1, 2, 3});
}

TEST_F(EntityManagerTest, AParentRemovedDuringAPassTakesItsChildrenAtTheEnd)
{
    JournalEntity* parent = Add("parent");
    JournalEntity* child = Add("child");
    JournalEntity* bystander = Add("bystander");
    child->SetParent(parent);
    class RemoveOnSimulate : public EntityBehaviour
    {
    public:
        explicit RemoveOnSimulate(Entity& owner) : mOwner(owner) {}
        void OnSimulate() override { mOwner.GetManager()->RemoveEntity(&mOwner); }

    private:
        Entity& mOwner;
    };
    // The child is asked for too, after its parent: it must still go only once.
    parent->PushBehaviour(std::make_unique<RemoveOnSimulate>(*parent));
    child->PushBehaviour(std::make_unique<RemoveOnSimulate>(*child));
    bystander->PlaceAt(100, 0, 0);
    journal.clear();
    manager.Simulate();
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "child.remove"), 1);
    const auto childRemoved = std::find(journal.begin(), journal.end(), "child.remove");
    EXPECT_LT(childRemoved, std::find(journal.begin(), journal.end(), "parent.remove"));
    EXPECT_EQ(manager.GetEntities(), std::vector<Entity*>{bystander});
}

TEST_F(EntityManagerTest, DestroyingAParentDetachesItsChildrenWhereTheyAre)
{
    JournalEntity* child = Add("child");
    {
        JournalEntity parent("parent", journal);
        parent.PlaceAt(7, 0, 0);
        child->SetParent(&parent);
        child->SetTransform(Marrowgate::Core::MatrixCreateTranslation(0, 1, 0));
    }
    EXPECT_EQ(child->GetParent(), nullptr);
    ExpectAt(*child, {7, 1, 0});
    EXPECT_EQ(child->GetManager(), &manager);
}

} // namespace
