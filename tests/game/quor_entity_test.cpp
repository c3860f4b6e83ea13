#include "quor_entity.h"

#include "car_entity.h"
#include "marrowgate/math/mg_random_numbers.h"
#include "orrery/game_entity_manager.h"

#include <gtest/gtest.h>

namespace {

using Marrowgate::Core::Matrix4;
using Marrowgate::Core::Vector3;

void PlaceAt(Orrery::Game::Entity& entity, const Vector3& position)
{
    Matrix4 transform = entity.GetTransform();
    transform.m[3] = position.x;
    transform.m[7] = position.y;
    transform.m[11] = position.z;
    entity.SetTransform(transform);
}

// Something that collides but is not a car.
class Rock : public Orrery::Game::Entity
{
public:
    Rock() : Orrery::Game::Entity("Rock") { AddBoundingSphere(1.0f, Vector3()); }
};

TEST(QuorEntityTest, ANewChipTakesItsPlaceFromTheNextTwoDrawsXFirst)
{
    Marrowgate::Core::SeedRandomNumbers(1);
    const QuorEntity chip;
    // The sequence's first draws are 41 and 18467, out of 32768.
    EXPECT_NEAR(chip.GetPosition().x, -10.0f + 20.0f * 41.0f / 32768.0f, 1e-5f);
    EXPECT_FLOAT_EQ(chip.GetPosition().y, 0.5f);
    EXPECT_NEAR(chip.GetPosition().z, -10.0f + 20.0f * 18467.0f / 32768.0f, 1e-5f);
}

TEST(QuorEntityTest, RespawnStaysInTheSquareAtRestingHeightAndKeepsTheRotation)
{
    QuorEntity chip;
    Matrix4 turned = Marrowgate::Core::CreateRotationY(0.7f);
    chip.SetTransform(turned);
    for (int respawn = 0; respawn < 2000; ++respawn) {
        chip.Respawn();
        const Vector3 position = chip.GetPosition();
        ASSERT_GE(position.x, -10.0f);
        ASSERT_LT(position.x, 10.0f);
        ASSERT_GE(position.z, -10.0f);
        ASSERT_LT(position.z, 10.0f);
        ASSERT_EQ(position.y, 0.5f);
    }
    for (int element : {0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, 15}) {
        EXPECT_EQ(chip.GetTransform().m[element], turned.m[element]) << "element " << element;
    }
}

class ChipCollectionTest : public ::testing::Test
{
protected:
    ChipCollectionTest()
    {
        manager.AddEntity(car);
        manager.AddEntity(chip);
    }

    Orrery::Game::EntityManager manager;
    CarEntity* car = new CarEntity();
    QuorEntity* chip = new QuorEntity();
};

TEST_F(ChipCollectionTest, TouchingTheCarScoresOneAndSendsTheChipElsewhere)
{
    const std::uint32_t scoreBefore = GetScore();
    PlaceAt(*chip, {1.2f, 0.5f, -1.2f});
    manager.Simulate();
    EXPECT_EQ(GetScore(), scoreBefore + 1);
    EXPECT_EQ(GetBestScore(), GetScore());
    EXPECT_NE(chip->GetPosition().x, 1.2f);
}

TEST_F(ChipCollectionTest, AChipJustOutOfTheCarsReachStaysWhereItIs)
{
    const std::uint32_t scoreBefore = GetScore();
    // The sphere reaches 0.762 past the half-unit box: 1.262 on x.
    PlaceAt(*chip, {1.27f, 0.5f, 0.0f});
    manager.Simulate();
    EXPECT_EQ(GetScore(), scoreBefore);
    EXPECT_FLOAT_EQ(chip->GetPosition().x, 1.27f);
}

TEST_F(ChipCollectionTest, ACarWaitingWhereTheChipRespawnsCollectsItAgainOnTheNextStep)
{
    PlaceAt(*chip, Vector3());
    manager.Simulate();
    const std::uint32_t scoreAfterFirst = GetScore();
    const Vector3 respawnedAt = chip->GetPosition();
    PlaceAt(*car, {respawnedAt.x, 0.0f, respawnedAt.z});
    manager.Simulate();
    EXPECT_EQ(GetScore(), scoreAfterFirst + 1);
}

TEST_F(ChipCollectionTest, AnythingButACarLeavesScoreAndChipAlone)
{
    Rock* rock = new Rock();
    manager.AddEntity(rock);
    PlaceAt(*car, {50.0f, 0.0f, 50.0f});
    PlaceAt(*chip, {3.0f, 0.5f, 3.0f});
    PlaceAt(*rock, {3.0f, 0.5f, 3.0f});
    const std::uint32_t scoreBefore = GetScore();
    manager.Simulate();
    EXPECT_EQ(GetScore(), scoreBefore);
    EXPECT_FLOAT_EQ(chip->GetPosition().x, 3.0f);
    EXPECT_FLOAT_EQ(chip->GetPosition().z, 3.0f);
}

TEST(ScoreStateTest, TheBestScoreFollowsTheScoreUpwards)
{
    const std::uint32_t scoreBefore = GetScore();
    AddScore(3);
    EXPECT_EQ(GetScore(), scoreBefore + 3);
    EXPECT_EQ(GetBestScore(), GetScore());
}

} // namespace
