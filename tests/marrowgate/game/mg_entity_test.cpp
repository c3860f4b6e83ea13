// A 2D entity's contact with another and its typed queries, alone and inside the manager's
// collision pass.

#include "marrowgate/game/mg_entity.h"
#include "marrowgate/game/mg_entity_manager.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using Marrowgate::Core::Vector2;
using Marrowgate::Game::BoundingVolume;
using Marrowgate::Game::Contact;
using Marrowgate::Game::Entity;
using Marrowgate::Game::EntityManager;

// A box that, on collision, records the contact it sees and steps out along it.
class Crate : public Entity
{
public:
    Crate(Vector2 position, float size) : Entity("Crate")
    {
        SetPosition(position);
        AddBoundingVolume(BoundingVolume::Box(size, size));
        SetCollidable(true);
    }

    void OnCollide(Entity& other) override
    {
        Entity::OnCollide(other);
        const std::optional<Contact> contact = GetContactWith(other);
        seen.push_back(contact);
        if (contact && stepsOut) {
            SetPosition(GetPosition() + contact->normal * contact->depth);
        }
    }

    std::vector<std::optional<Contact>> seen;
    bool stepsOut = false;
};

class Ball : public Entity
{
public:
    explicit Ball(Vector2 position) : Entity("Ball")
    {
        SetPosition(position);
        AddBoundingVolume(BoundingVolume::Circle(1.0f));
        SetCollidable(true);
    }
};

class Manager : public EntityManager
{
};

TEST(Entity2D, TheContactIsTheDeepestOfTheVolumePairsAndNeedsBothCollidable)
{
    Crate crate({0, 0}, 2.0f);
    Ball ball({1.5f, 0});
    ball.AddBoundingVolume(BoundingVolume::Circle(1.0f, {-0.75f, 0})); // reaches 0.75 further in
    const std::optional<Contact> contact = ball.GetContactWith(crate);
    ASSERT_TRUE(contact.has_value());
    EXPECT_TRUE(contact->normal == Vector2(1, 0));
    EXPECT_FLOAT_EQ(contact->depth, 1.25f);
    EXPECT_TRUE(crate.GetContactWith(ball)->normal == Vector2(-1, 0));

    ball.SetCollidable(false);
    EXPECT_FALSE(crate.GetContactWith(ball).has_value());
    ball.SetCollidable(true);
    ball.SetPosition({5.0f, 0});
    EXPECT_FALSE(ball.GetContactWith(crate).has_value());
}

// The pass calls back exactly as it did before contacts existed; a callback that resolves the
// overlap leaves its partner nothing to resolve.
TEST(Entity2D, ContactsAreReadInTheCollisionCallbackWithoutChangingItsCalls)
{
    Manager manager;
    auto* falling = new Crate({0, -1.75f}, 2.0f);
    auto* floor = new Crate({0, 0}, 2.0f);
    falling->stepsOut = true;
    manager.AddEntity(falling);
    manager.AddEntity(floor);
    manager.OnSimulate();

    ASSERT_EQ(falling->seen.size(), 1u);
    ASSERT_TRUE(falling->seen[0].has_value());
    EXPECT_TRUE(falling->seen[0]->normal == Vector2(0, -1));
    EXPECT_FLOAT_EQ(falling->seen[0]->depth, 0.25f);
    EXPECT_TRUE(falling->seen[0]->point == Vector2(0, -0.875f));
    EXPECT_TRUE(falling->GetPosition() == Vector2(0, -2.0f));
    // Stepped out, the two now only touch: the floor's callback still runs and sees depth 0.
    ASSERT_EQ(floor->seen.size(), 1u);
    ASSERT_TRUE(floor->seen[0].has_value());
    EXPECT_TRUE(floor->seen[0]->normal == Vector2(0, 1));
    EXPECT_FLOAT_EQ(floor->seen[0]->depth, 0.0f);
}

TEST(Entity2D, TypedQueriesFindGameClassesWithoutTypeNames)
{
    Manager manager;
    auto* crate = new Crate({0, 0}, 1.0f);
    auto* ball = new Ball({5, 0});
    auto* otherCrate = new Crate({9, 0}, 1.0f);
    manager.AddEntity(crate);
    manager.AddEntity(ball);
    manager.AddEntity(otherCrate);

    Entity& someEntity = *ball;
    EXPECT_EQ(someEntity.As<Ball>(), ball);
    EXPECT_EQ(someEntity.As<Crate>(), nullptr);
    const Entity& constEntity = *crate;
    EXPECT_EQ(constEntity.As<Crate>(), crate);
    EXPECT_EQ(manager.GetEntitiesOfClass<Crate>(), (std::vector<Crate*>{crate, otherCrate}));
    EXPECT_EQ(manager.GetEntitiesOfClass<Ball>(), std::vector<Ball*>{ball});
    // The names still serve.
    EXPECT_TRUE(someEntity.IsEntityType("Ball"));
    EXPECT_EQ(manager.GetEntitiesByType("Crate"), (std::vector<Entity*>{crate, otherCrate}));
}

} // namespace
