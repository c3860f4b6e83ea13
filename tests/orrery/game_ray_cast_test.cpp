// Ray casts against an entity manager: the nearest entity of a type, through its volumes.

#include "orrery/game_ray_cast.h"

#include <gtest/gtest.h>

namespace {

using Cinderhall::Ray;
using Marrowgate::Core::MatrixCreateTranslation;
using Marrowgate::Core::Vector3;
using Orrery::Game::CastRay;
using Orrery::Game::Entity;
using Orrery::Game::EntityManager;

class RayCastTest : public testing::Test
{
protected:
    Entity* AddSphere(const std::string& type, const Vector3& position, float radius = 0.5f)
    {
        auto* entity = new Entity(type);
        entity->SetTransform(MatrixCreateTranslation(position));
        entity->AddBoundingSphere(radius, Vector3());
        manager.AddEntity(entity);
        return entity;
    }

    EntityManager manager;
    // From the origin along +x.
    Ray ray{Vector3(), Vector3(1.0f, 0.0f, 0.0f)};
};

TEST_F(RayCastTest, FindsTheNearestEntityOfTheTypeAskedFor)
{
    AddSphere("Coin", {9.0f, 0.0f, 0.0f});
    Entity* nearCoin = AddSphere("Coin", {5.0f, 0.0f, 0.0f});
    Entity* wall = AddSphere("Wall", {2.0f, 0.0f, 0.0f});
    AddSphere("Coin", {3.0f, 4.0f, 0.0f}); // off the ray

    const auto coin = CastRay(manager, ray, "Coin");
    ASSERT_TRUE(coin);
    EXPECT_EQ(coin->entity, nearCoin);
    EXPECT_FLOAT_EQ(coin->hit.distance, 4.5f);

    const auto anything = CastRay(manager, ray);
    ASSERT_TRUE(anything);
    EXPECT_EQ(anything->entity, wall) << "an empty type means any entity";

    EXPECT_FALSE(CastRay(manager, ray, "Coin", 4.0f)) << "beyond the distance asked for";
    EXPECT_FALSE(CastRay(manager, ray, "Door")) << "a type nobody has";
}

TEST_F(RayCastTest, VolumesSitAtTheEntitysPositionAndTheNearestVolumeCounts)
{
    auto* tower = new Entity("Tower");
    tower->SetTransform(MatrixCreateTranslation(10.0f, 0.0f, 0.0f));
    tower->AddBoundingBox(2.0f, 2.0f, 2.0f, Vector3(0.0f, 0.0f, 0.0f));
    tower->AddBoundingSphere(1.0f, Vector3(-4.0f, 0.0f, 0.0f));
    manager.AddEntity(tower);
    const auto hit = CastRay(manager, ray, "Tower");
    ASSERT_TRUE(hit);
    EXPECT_FLOAT_EQ(hit->hit.distance, 5.0f) << "the sphere 4 units in front of the box";
}

TEST_F(RayCastTest, EntitiesThatDoNotCollideAreNotSeen)
{
    Entity* ghost = AddSphere("Coin", {3.0f, 0.0f, 0.0f});
    ghost->SetCollidable(false);
    Entity* behind = AddSphere("Coin", {6.0f, 0.0f, 0.0f});
    manager.AddEntity(new Entity("Coin")); // no volumes at all
    const auto hit = CastRay(manager, ray, "Coin");
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->entity, behind);
}

TEST_F(RayCastTest, ARayStartingInsideAnEntityHitsItFirst)
{
    AddSphere("Coin", {3.0f, 0.0f, 0.0f});
    Entity* around = AddSphere("Coin", {0.0f, 0.0f, 0.0f}, 1.0f);
    const auto hit = CastRay(manager, ray, "Coin");
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->entity, around);
    EXPECT_EQ(hit->hit.distance, 0.0f);
}

TEST_F(RayCastTest, OfTwoEntitiesAtTheSameDistanceTheFirstAddedWins)
{
    Entity* first = AddSphere("Coin", {4.0f, 0.0f, 0.0f});
    AddSphere("Coin", {4.0f, 0.0f, 0.0f});
    EXPECT_EQ(CastRay(manager, ray, "Coin")->entity, first);
}

} // namespace
