// A 3D entity's contact with another and its typed queries, alone and inside the manager's
// collision pass.

#include "orrery/game_entity_manager.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

using Marrowgate::Core::Matrix4;
using Marrowgate::Core::Vector3;
using Orrery::Game::Contact;
using Orrery::Game::Entity;
using Orrery::Game::EntityManager;

class Body : public Entity
{
public:
    explicit Body(Vector3 position) : Entity("Body") { PlaceAt(position); }

    void PlaceAt(Vector3 position)
    {
        Matrix4 transform;
        transform.SetPosition(position.x, position.y, position.z);
        SetTransform(transform);
    }

    void OnCollide(Entity& other) override
    {
        Entity::OnCollide(other);
        const std::optional<Contact> contact = GetContactWith(other);
        seen.push_back(contact);
        if (contact && stepsOut) {
            PlaceAt(GetPosition() + contact->normal * contact->depth);
        }
    }

    std::vector<std::optional<Contact>> seen;
    bool stepsOut = false;
};

class Ball : public Body
{
public:
    explicit Ball(Vector3 position) : Body(position) { AddBoundingSphere(0.5f, Vector3()); }
};

class Crate : public Body
{
public:
    explicit Crate(Vector3 position) : Body(position) { AddBoundingBox(2, 2, 2, Vector3()); }
};

TEST(Entity3D, TheContactIsTheDeepestOfTheVolumePairsAndNeedsBothCollidable)
{
    Crate crate({0, 0, 0});
    Ball ball({0, 1.25f, 0});
    ball.AddBoundingSphere(0.5f, {0, -0.5f, 0}); // reaches half a unit further in
    const std::optional<Contact> contact = ball.GetContactWith(crate);
    ASSERT_TRUE(contact.has_value());
    EXPECT_TRUE(contact->normal == Vector3(0, 1, 0));
    EXPECT_FLOAT_EQ(contact->depth, 0.75f);
    EXPECT_TRUE(crate.GetContactWith(ball)->normal == Vector3(0, -1, 0));

    ball.SetCollidable(false);
    EXPECT_FALSE(crate.GetContactWith(ball).has_value());
}

TEST(Entity3D, ContactsAreReadInTheCollisionCallbackWithoutChangingItsCalls)
{
    EntityManager manager;
    auto* ball = new Ball({0, 1.25f, 0});
    auto* crate = new Crate({0, 0, 0});
    ball->stepsOut = true;
    manager.AddEntity(ball);
    manager.AddEntity(crate);
    manager.Simulate();

    ASSERT_EQ(ball->seen.size(), 1u);
    ASSERT_TRUE(ball->seen[0].has_value());
    EXPECT_TRUE(ball->seen[0]->normal == Vector3(0, 1, 0));
    EXPECT_FLOAT_EQ(ball->seen[0]->depth, 0.25f);
    EXPECT_TRUE(ball->GetPosition() == Vector3(0, 1.5f, 0));
    ASSERT_EQ(crate->seen.size(), 1u);
    ASSERT_TRUE(crate->seen[0].has_value());
    EXPECT_FLOAT_EQ(crate->seen[0]->depth, 0.0f);
}

TEST(Entity3D, TypedQueriesFindGameClassesWithoutTypeNames)
{
    EntityManager manager;
    auto* ball = new Ball({0, 0, 0});
    auto* crate = new Crate({5, 0, 0});
    manager.AddEntity(ball);
    manager.AddEntity(crate);

    Entity& someEntity = *crate;
    EXPECT_EQ(someEntity.As<Crate>(), crate);
    EXPECT_EQ(someEntity.As<Ball>(), nullptr);
    EXPECT_EQ(someEntity.As<Body>(), crate);
    EXPECT_EQ(manager.GetEntitiesOfClass<Body>(), (std::vector<Body*>{ball, crate}));
    EXPECT_EQ(manager.GetEntitiesOfClass<Ball>(), std::vector<Ball*>{ball});
    EXPECT_EQ(manager.GetEntitiesByType("Body"), (std::vector<Entity*>{ball, crate}));
}

} // namespace
