#include "gameplay_scene.h"

#include "car_entity.h"
#include "game_flow_fixture.h"
#include "score_display.h"

#include <gmock/gmock.h>

#include <cmath>
#include <set>

namespace {

using Marrowgate::Application::KeyEscape;
using Marrowgate::Core::Vector3;
using Marrowgate::Game::GameApplication;
using QuorvaneTest::KeyDownEvent;
using QuorvaneTest::KeyUpEvent;

class GameplaySceneTest : public QuorvaneTest::GameFlowTest
{
protected:
    GameplayScene& gameplay = Scene<GameplayScene>(kGameplayScene);
};

TEST_F(GameplaySceneTest, OpeningPutsTheCarFirstThenOneChipAndOneScoreDisplay)
{
    // Opened twice, as when the scene is asked for again: still one of each.
    gameplay.OnOpen();
    gameplay.OnOpen();
    const auto& entities = gameplay.GetEntityManager().GetEntities();
    ASSERT_EQ(entities.size(), 2u);
    EXPECT_TRUE(entities[0]->IsEntityType("CarEntity"));
    EXPECT_TRUE(entities[1]->IsEntityType("QuorEntity"));
    ASSERT_EQ(gameplay.GetEntities().size(), 1u);
    EXPECT_TRUE(gameplay.GetEntities()[0]->IsEntityType("ScoreDisplay"));
}

TEST_F(GameplaySceneTest, OpeningPutsTheCursorInTheMiddleOfTheWindow)
{
    gameplay.OnOpen();
    EXPECT_EQ(platform.cursor.x, 640);
    EXPECT_EQ(platform.cursor.y, 360);
}

TEST_F(GameplaySceneTest, TheFixedCameraFollowsTheCar)
{
    gameplay.OnOpen();
    gameplay.Update(0.01f);
    const float third = 1.0f / std::sqrt(3.0f);
    const Vector3 atOrigin = gameplay.GetCamera3D().GetForward();
    EXPECT_NEAR(atOrigin.x, -third, 1e-6f);
    EXPECT_NEAR(atOrigin.y, -third, 1e-6f);
    EXPECT_NEAR(atOrigin.z, -third, 1e-6f);

    Orrery::Game::Entity& car = *gameplay.GetEntityManager().GetEntitiesByType("CarEntity").front();
    Marrowgate::Core::Matrix4 moved = car.GetTransform();
    moved.m[3] = 10.0f;
    moved.m[11] = 10.0f;
    car.SetTransform(moved);
    gameplay.Update(0.01f);
    const Vector3 straightDown = gameplay.GetCamera3D().GetForward();
    EXPECT_NEAR(straightDown.x, 0.0f, 1e-6f);
    EXPECT_NEAR(straightDown.y, -1.0f, 1e-6f);
    EXPECT_NEAR(straightDown.z, 0.0f, 1e-6f);
    EXPECT_EQ(gameplay.GetCamera3D().GetPosition(), Vector3(10.0f, 10.0f, 10.0f));
}

TEST_F(GameplaySceneTest, ReleasingEscapeEndsTheGameAtTheEndOfThatFrame)
{
    GameApplication::ChangeToScene(&gameplay);
    RunPasses({{0.02, {KeyDownEvent(KeyEscape)}}, {0.02, {}}, {0.02, {KeyUpEvent(KeyEscape)}}, {0.02, {}}});
    EXPECT_EQ(platform.passes, 4);
    EXPECT_THAT(log, ::testing::Contains("DestroyWindow"));
}

// A slow frame: the key went down and up among the events of one pass of the loop.
TEST_F(GameplaySceneTest, ATapOfEscapeWithinOnePassEndsTheGame)
{
    GameApplication::ChangeToScene(&gameplay);
    RunPasses({{0.02, {}}, {0.05, {KeyDownEvent(KeyEscape), KeyUpEvent(KeyEscape)}}, {0.02, {}}, {0.02, {}}});
    // The window closes at the end of the second frame; the third pass finds it gone.
    EXPECT_EQ(platform.passes, 3);
    EXPECT_THAT(log, ::testing::Contains("DestroyWindow"));
}

TEST_F(GameplaySceneTest, LettingGoOfBackOnAControllerEndsTheGameToo)
{
    using Marrowgate::Application::ControllerBack;
    using QuorvaneTest::ControllerButtonEvent;
    GameApplication::ChangeToScene(&gameplay);
    RunPasses({{0.02, {ControllerButtonEvent(2, ControllerBack, true)}},
               {0.02, {ControllerButtonEvent(2, ControllerBack, false)}},
               {0.02, {}}});
    // The window closes at the end of the second frame; the third pass finds it gone.
    EXPECT_EQ(platform.passes, 3);
    EXPECT_THAT(log, ::testing::Contains("DestroyWindow"));
}

TEST_F(GameplaySceneTest, HoldingEscapeDoesNotEndTheGame)
{
    GameApplication::ChangeToScene(&gameplay);
    RunPasses({{0.02, {KeyDownEvent(KeyEscape)}}, {0.02, {}}, {0.02, {}}});
    EXPECT_EQ(platform.passes, 4);
}

TEST_F(GameplaySceneTest, PlayDrivesTheCarThroughTheRealFrameLoop)
{
    GameApplication::ChangeToScene(&gameplay);
    std::vector<QuorvaneTest::ScriptedPass> passes{{0.05, {KeyDownEvent(Marrowgate::Application::KeyUp)}}};
    for (int pass = 0; pass < 19; ++pass) {
        passes.push_back({0.05, {}});
    }
    RunPasses(passes);
    const auto cars = gameplay.GetEntityManager().GetEntitiesByType("CarEntity");
    ASSERT_EQ(cars.size(), 1u);
    // About a second of full throttle along +z.
    EXPECT_GT(static_cast<CarEntity*>(cars.front())->GetVelocity().z, 4.0f);
    EXPECT_GT(cars.front()->GetPosition().z, 2.0f);
    EXPECT_FLOAT_EQ(cars.front()->GetPosition().x, 0.0f);
}

// The stick is pushed forwards for ten frames and the controller is pulled out while it is still
// pushed: from that frame on the car only slows down.
TEST_F(GameplaySceneTest, AControllerPulledOutWithTheStickPushedStopsDrivingTheCar)
{
    using mgImplementation::StickAxis;
    using QuorvaneTest::ControllerRemovedEvent;
    using QuorvaneTest::ControllerStickEvent;
    GameApplication::ChangeToScene(&gameplay);
    std::vector<QuorvaneTest::ScriptedPass> passes{
        {0.05, {ControllerStickEvent(9, StickAxis::kVertical, -1.0f)}}};
    passes.resize(10, {0.05, {}});
    passes.push_back({0.05, {ControllerRemovedEvent(9)}});
    passes.resize(15, {0.05, {}});
    std::vector<float> speeds;
    platform.onPass = [&] {
        const auto cars = gameplay.GetEntityManager().GetEntitiesByType("CarEntity");
        if (!cars.empty()) {
            speeds.push_back(static_cast<CarEntity*>(cars.front())->GetVelocity().z);
        }
    };
    RunPasses(passes);
    // The car exists from the first pass on; speeds[n] is its speed after pass n + 1.
    ASSERT_EQ(speeds.size(), 15u);
    EXPECT_GT(speeds[9], speeds[8]) << "the stick drives until the controller goes";
    for (std::size_t pass = 10; pass < speeds.size(); ++pass) {
        EXPECT_LT(speeds[pass], speeds[pass - 1]) << "after pass " << pass + 1;
    }
}

} // namespace

namespace {

TEST(GroundLinesTest, AHundredGridLinesTenApartWithoutCentreLinesThenSixAxes)
{
    const std::vector<GroundLine> lines = GroundLines();
    ASSERT_EQ(lines.size(), 106u);
    std::set<float> alongZ;
    std::set<float> alongX;
    for (std::size_t index = 0; index < 100; ++index) {
        const GroundLine& line = lines[index];
        EXPECT_EQ(line.color, 0xFF004000u);
        EXPECT_EQ(line.start.y, 0.0f);
        EXPECT_EQ(line.end.y, 0.0f);
        if (line.start.x == line.end.x) {
            alongZ.insert(line.start.x);
            EXPECT_EQ(line.start.z, -250.0f);
            EXPECT_EQ(line.end.z, 250.0f);
        } else {
            alongX.insert(line.start.z);
            EXPECT_EQ(line.start.x, -250.0f);
            EXPECT_EQ(line.end.x, 250.0f);
        }
    }
    EXPECT_EQ(alongZ.size(), 50u);
    EXPECT_EQ(alongX.size(), 50u);
    EXPECT_FALSE(alongZ.contains(0.0f));
    EXPECT_EQ(*alongZ.begin(), -250.0f);
    EXPECT_EQ(*alongZ.rbegin(), 250.0f);
    const std::uint32_t axisColors[] = {0xFF0000FF, 0xFF000088, 0xFF00FF00,
                                        0xFF008800, 0xFFFF0000, 0xFF880000};
    for (std::size_t axis = 0; axis < 6; ++axis) {
        EXPECT_EQ(lines[100 + axis].start, Vector3()) << "axis " << axis;
        EXPECT_EQ(lines[100 + axis].end.Magnitude(), 250.0f) << "axis " << axis;
        EXPECT_EQ(lines[100 + axis].color, axisColors[axis]) << "axis " << axis;
    }
}

} // namespace
