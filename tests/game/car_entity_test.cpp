#include "car_entity.h"

#include "scripted_steps.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Marrowgate::Application::KeyDown;
using Marrowgate::Application::KeyLeft;
using Marrowgate::Application::KeyRight;
using Marrowgate::Application::KeySpace;
using Marrowgate::Application::KeyUp;
using Marrowgate::Core::Matrix4;
using Marrowgate::Core::Vector3;
using QuorvaneTest::BeginStep;
using QuorvaneTest::Press;
using QuorvaneTest::Release;

class CarEntityTest : public ::testing::Test
{
protected:
    void SetUp() override { QuorvaneTest::ClearKeys(); }

    // One fixed step with these key changes delivered first.
    void Step(std::initializer_list<QuorvaneTest::KeyChange> changes = {})
    {
        BeginStep(changes);
        car.Simulate();
    }

    Vector3 Heading() const
    {
        const Matrix4& transform = car.GetTransform();
        return {transform.m[2], transform.m[6], transform.m[10]};
    }

    CarEntity car;
};

void ExpectNear(const Vector3& actual, const Vector3& expected, float tolerance = 1e-6f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

TEST_F(CarEntityTest, OneStepOfThrustFromRestGivesATenthOfAUnitPerSecondAndAThousandthOfAUnit)
{
    Step({Press(KeyUp)});
    ExpectNear(car.GetVelocity(), {0.0f, 0.0f, 0.1f});
    ExpectNear(car.GetPosition(), {0.0f, 0.0f, 0.001f});
}

TEST_F(CarEntityTest, DragTakesPointSevenEightPercentOfTheSpeedPerStep)
{
    car.SetVelocity({0.0f, 0.0f, 1.0f});
    Step();
    ExpectNear(car.GetVelocity(), {0.0f, 0.0f, 0.9922f});
    ExpectNear(car.GetPosition(), {0.0f, 0.0f, 0.009922f});
}

TEST_F(CarEntityTest, HoldingBothPedalsGivesNoThrust)
{
    Step({Press(KeyUp), Press(KeyDown)});
    for (int step = 0; step < 10; ++step) {
        Step();
    }
    ExpectNear(car.GetVelocity(), {0.0f, 0.0f, 0.0f}, 0.0f);
    ExpectNear(car.GetPosition(), {0.0f, 0.0f, 0.0f}, 0.0f);
}

struct Drive
{
    Matrix4 transform;
    Vector3 velocity;
};

// Ten steps of a sliding car with the input held from the first (none for Key0, which the car
// ignores).
Drive DriveTenSteps(Marrowgate::Application::Key input)
{
    QuorvaneTest::ClearKeys();
    CarEntity car;
    car.SetVelocity({1.0f, 0.0f, 0.0f});
    BeginStep({Press(input)});
    for (int step = 0; step < 10; ++step) {
        car.Simulate();
        BeginStep();
    }
    BeginStep({Release(input)});
    return {car.GetTransform(), car.GetVelocity()};
}

TEST(CarControllerTest, TheDPadAndTheLeftStickDriveAsTheArrowsDo)
{
    using namespace Marrowgate::Application;
    const Drive coasting = DriveTenSteps(Key0);
    const Key inputs[][3] = {{KeyUp, ControllerDPadUp, ControllerStickUp},
                             {KeyDown, ControllerDPadDown, ControllerStickDown},
                             {KeyLeft, ControllerDPadLeft, ControllerStickLeft},
                             {KeyRight, ControllerDPadRight, ControllerStickRight}};
    for (const auto& [arrow, dPad, stick] : inputs) {
        const Drive byArrow = DriveTenSteps(arrow);
        EXPECT_FALSE(byArrow.transform == coasting.transform && byArrow.velocity == coasting.velocity)
            << "arrow " << arrow << " did nothing";
        for (const Key input : {dPad, stick}) {
            const Drive byController = DriveTenSteps(input);
            EXPECT_EQ(byController.transform, byArrow.transform) << "input " << input;
            EXPECT_EQ(byController.velocity, byArrow.velocity) << "input " << input;
        }
    }
}

TEST_F(CarEntityTest, ReversingDrivesAlongMinusTheHeading)
{
    Step({Press(KeyDown)});
    ExpectNear(car.GetVelocity(), {0.0f, 0.0f, -0.1f});
}

TEST_F(CarEntityTest, HeldThrustApproachesTenOverDragAsTopSpeed)
{
    Step({Press(KeyUp)});
    for (int step = 0; step < 3000; ++step) {
        Step();
    }
    EXPECT_NEAR(car.GetVelocity().z, 10.0f / 0.78f, 1e-3f);
}

TEST_F(CarEntityTest, AHundredStepsOfTurningMakeOneFullTurnOnTheSpot)
{
    Step({Press(KeyLeft)});
    for (int step = 1; step < 25; ++step) {
        Step();
    }
    // A quarter turn to the left of +z is +x (y is up).
    ExpectNear(Heading(), {1.0f, 0.0f, 0.0f}, 1e-5f);
    for (int step = 25; step < 100; ++step) {
        Step();
    }
    const Matrix4 identity;
    for (int element = 0; element < 16; ++element) {
        EXPECT_NEAR(car.GetTransform().m[element], identity.m[element], 1e-5f) << "element " << element;
    }
}

TEST_F(CarEntityTest, TurningLeftAndRightTogetherCancelOut)
{
    Step({Press(KeyLeft), Press(KeyRight)});
    Step();
    ExpectNear(Heading(), {0.0f, 0.0f, 1.0f}, 1e-6f);
}

TEST_F(CarEntityTest, ThrustUsesTheHeadingFromBeforeThisStepsTurn)
{
    Step({Press(KeyUp), Press(KeyLeft)});
    // The first step pushes straight along +z although the car has already turned.
    EXPECT_FLOAT_EQ(car.GetVelocity().x, 0.0f);
    Step();
    EXPECT_GT(car.GetVelocity().x, 0.0f);
}

TEST_F(CarEntityTest, VelocityStaysInWorldSpaceSoTheCarSlidesAfterATurn)
{
    car.SetVelocity({0.0f, 0.0f, 5.0f});
    Step({Press(KeyLeft)});
    for (int step = 1; step < 25; ++step) {
        Step();
    }
    // Facing +x now, yet still moving along +z, only slowed by drag.
    ExpectNear(Heading(), {1.0f, 0.0f, 0.0f}, 1e-5f);
    EXPECT_FLOAT_EQ(car.GetVelocity().x, 0.0f);
    EXPECT_NEAR(car.GetVelocity().z, 5.0f * std::pow(1.0f - 0.0078f, 25.0f), 1e-4f);
}

TEST_F(CarEntityTest, ResetStopsAMovingCarAtTheOriginFacingPlusZInTheSameStep)
{
    Step({Press(KeyUp), Press(KeyLeft)});
    for (int step = 0; step < 30; ++step) {
        Step();
    }
    ASSERT_GT(car.GetPosition().Magnitude(), 0.0f);
    Step({Release(KeyUp), Release(KeyLeft), Press(KeySpace)});
    ExpectNear(car.GetVelocity(), {0.0f, 0.0f, 0.0f}, 0.0f);
    const Matrix4 identity;
    for (int element = 0; element < 16; ++element) {
        EXPECT_EQ(car.GetTransform().m[element], identity.m[element]) << "element " << element;
    }
}

TEST_F(CarEntityTest, HoldingResetDownResetsOnlyOnce)
{
    Step({Press(KeySpace)});
    Step({Press(KeyUp)});
    Step();
    // Space is still held: the car keeps the speed it gathered.
    EXPECT_GT(car.GetVelocity().z, 0.15f);
    EXPECT_GT(car.GetPosition().z, 0.0f);
}

} // namespace
