#include "marrowgate/application/mg_input.h"

#include <gtest/gtest.h>

namespace {

using namespace Marrowgate::Application;

class InputTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mgImplementation::ResetInputState();
        mgImplementation::BeginInputFrame();
    }
};

TEST_F(InputTest, TheFirstPassDropsWhatArrivedBeforeIt)
{
    mgImplementation::ResetInputState();
    mgImplementation::OnKeyDown(KeySpace, false);
    mgImplementation::BeginInputFrame();
    EXPECT_FALSE(IsKeyDown(KeySpace));
    EXPECT_FALSE(IsKeyReleased(KeySpace));
}

TEST_F(InputTest, ReleaseMeansUpNowAndDownAtTheStartOfThePass)
{
    mgImplementation::OnKeyDown(KeyEscape, false);
    mgImplementation::BeginInputFrame();
    mgImplementation::OnKeyUp(KeyEscape);
    EXPECT_TRUE(IsKeyReleased(KeyEscape));
    mgImplementation::BeginInputFrame();
    EXPECT_FALSE(IsKeyReleased(KeyEscape));
}

TEST_F(InputTest, APressAndLiftWithinOnePassLeavesNoTrace)
{
    mgImplementation::OnKeyDown(KeyEnter, false);
    mgImplementation::OnKeyUp(KeyEnter);
    EXPECT_FALSE(IsKeyDown(KeyEnter));
    mgImplementation::BeginInputFrame();
    EXPECT_FALSE(IsKeyReleased(KeyEnter));
}

TEST_F(InputTest, TheNewKeysHoldAndReleaseLikeTheOriginalOnes)
{
    for (const Key key : {KeyF1, KeyLeftShift, KeyTab, KeySlash, Keypad7, KeyNonUsBackslash}) {
        mgImplementation::OnKeyDown(key, false);
        EXPECT_TRUE(IsKeyDown(key)) << key;
        mgImplementation::BeginInputFrame();
        mgImplementation::OnKeyUp(key);
        EXPECT_TRUE(IsKeyReleased(key)) << key;
    }
}

// KeyEnter always meant either Enter key; the keypad's now also has a code of its own.
TEST_F(InputTest, EnterIsHeldWhileEitherEnterKeyIs)
{
    const std::uint64_t pressesBefore = mgImplementation::GetPressCount(KeyEnter);
    mgImplementation::OnKeyDown(KeypadEnter, false);
    EXPECT_TRUE(IsKeyDown(KeyEnter));
    EXPECT_TRUE(IsKeyDown(KeypadEnter));
    mgImplementation::OnKeyDown(KeyEnter, false);
    mgImplementation::OnKeyUp(KeypadEnter);
    EXPECT_TRUE(IsKeyDown(KeyEnter));
    EXPECT_FALSE(IsKeyDown(KeypadEnter));
    // Held throughout: one press, not two.
    EXPECT_EQ(mgImplementation::GetPressCount(KeyEnter), pressesBefore + 1);
    mgImplementation::OnKeyUp(KeyEnter);
    EXPECT_FALSE(IsKeyDown(KeyEnter));
}

TEST_F(InputTest, AWheelNotchIsAPressThatIsAlreadyOver)
{
    const std::uint64_t pressesBefore = mgImplementation::GetPressCount(MouseWheelUp);
    mgImplementation::OnMouseWheel(MouseWheelUp);
    EXPECT_FALSE(IsKeyDown(MouseWheelUp));
    EXPECT_EQ(mgImplementation::GetPressCount(MouseWheelUp), pressesBefore + 1);
    // Only the wheel's own event moves the wheel's codes, and the wheel moves nothing else.
    mgImplementation::OnKeyDown(MouseWheelDown, false);
    mgImplementation::OnMouseWheel(KeySpace);
    EXPECT_FALSE(IsKeyDown(MouseWheelDown));
    EXPECT_EQ(mgImplementation::GetPressCount(KeySpace), 0u);
}

TEST_F(InputTest, CodesOutsideTheTableAreIgnored)
{
    mgImplementation::OnKeyDown(static_cast<Key>(kInputCount), false);
    mgImplementation::OnKeyDown(static_cast<Key>(-1), false);
    mgImplementation::OnControllerButton(0, static_cast<Key>(kInputCount), true);
    EXPECT_FALSE(IsKeyDown(static_cast<Key>(kInputCount)));
    EXPECT_FALSE(IsKeyReleased(static_cast<Key>(-1)));
}

// A controller input arriving as a key would bypass the per-controller bookkeeping and could
// never be released by pulling the controller out; each source keeps to its own codes.
TEST_F(InputTest, KeyEventsCannotHoldControllerInputsNorControllersKeys)
{
    mgImplementation::OnKeyDown(ControllerSouth, false);
    mgImplementation::OnControllerButton(0, KeySpace, true);
    EXPECT_FALSE(IsKeyDown(ControllerSouth));
    EXPECT_FALSE(IsKeyDown(KeySpace));
}

TEST_F(InputTest, MousePositionKeepsThePreviousPass)
{
    mgImplementation::RecordMousePosition(3, 4);
    mgImplementation::BeginInputFrame();
    mgImplementation::RecordMousePosition(5, 6);
    EXPECT_EQ(GetPreviousMousePosition().x, 3);
    EXPECT_EQ(GetMousePosition().y, 6);
}

class ControllerInputTest : public InputTest
{
protected:
    static void Stick(int controller, float x, float y)
    {
        mgImplementation::OnControllerStick(controller, mgImplementation::StickAxis::kHorizontal, x);
        mgImplementation::OnControllerStick(controller, mgImplementation::StickAxis::kVertical, y);
    }
};

TEST_F(ControllerInputTest, AnInputStaysDownUntilTheLastControllerHoldingItLetsGo)
{
    mgImplementation::OnControllerButton(1, ControllerSouth, true);
    mgImplementation::OnControllerButton(2, ControllerSouth, true);
    mgImplementation::BeginInputFrame();
    mgImplementation::OnControllerButton(1, ControllerSouth, false);
    EXPECT_TRUE(IsKeyDown(ControllerSouth));
    EXPECT_FALSE(IsKeyReleased(ControllerSouth));
    mgImplementation::OnControllerButton(2, ControllerSouth, false);
    EXPECT_TRUE(IsKeyReleased(ControllerSouth));
}

TEST_F(ControllerInputTest, PullingOutAControllerReleasesWhatItHeldAndNothingElse)
{
    mgImplementation::OnControllerButton(1, ControllerDPadUp, true);
    Stick(1, 0.0f, -1.0f);
    mgImplementation::OnControllerButton(2, ControllerStart, true);
    mgImplementation::OnKeyDown(KeyUp, false);
    mgImplementation::BeginInputFrame();
    mgImplementation::OnControllerRemoved(1);
    EXPECT_TRUE(IsKeyReleased(ControllerDPadUp));
    EXPECT_TRUE(IsKeyReleased(ControllerStickUp));
    EXPECT_TRUE(IsKeyDown(ControllerStart));
    EXPECT_TRUE(IsKeyDown(KeyUp));
    // The same id may come back as a new controller; it starts with nothing held.
    mgImplementation::OnControllerButton(1, ControllerEast, true);
    EXPECT_FALSE(IsKeyDown(ControllerDPadUp));
    mgImplementation::OnControllerRemoved(7);
    EXPECT_TRUE(IsKeyDown(ControllerEast));
}

TEST_F(ControllerInputTest, TheStickPressesPastHalfWayAndLetsGoOnlyInsideTheDeadZone)
{
    Stick(0, 0.499f, 0.0f);
    EXPECT_FALSE(IsKeyDown(ControllerStickRight));
    Stick(0, 0.5f, 0.0f);
    EXPECT_TRUE(IsKeyDown(ControllerStickRight));
    Stick(0, 0.401f, 0.0f);
    EXPECT_TRUE(IsKeyDown(ControllerStickRight));
    Stick(0, 0.399f, 0.0f);
    EXPECT_FALSE(IsKeyDown(ControllerStickRight));
    EXPECT_FALSE(IsKeyDown(ControllerStickLeft));
}

TEST_F(ControllerInputTest, EachAxisHoldsItsOwnDirectionsAndAFlickAcrossSwapsThem)
{
    // Minus is left on the horizontal axis and up (away from the player) on the vertical one.
    Stick(0, -1.0f, 1.0f);
    EXPECT_TRUE(IsKeyDown(ControllerStickLeft));
    EXPECT_TRUE(IsKeyDown(ControllerStickDown));
    EXPECT_FALSE(IsKeyDown(ControllerStickRight));
    EXPECT_FALSE(IsKeyDown(ControllerStickUp));
    Stick(0, 1.0f, 1.0f);
    EXPECT_FALSE(IsKeyDown(ControllerStickLeft));
    EXPECT_TRUE(IsKeyDown(ControllerStickRight));
    EXPECT_TRUE(IsKeyDown(ControllerStickDown));
}

TEST_F(ControllerInputTest, TheFirstPassDropsWhatControllersHeldBeforeIt)
{
    mgImplementation::ResetInputState();
    mgImplementation::OnControllerButton(3, ControllerSouth, true);
    mgImplementation::BeginInputFrame();
    EXPECT_FALSE(IsKeyDown(ControllerSouth));
    // Nothing of the dropped state comes back when another controller input changes.
    mgImplementation::OnControllerButton(3, ControllerBack, true);
    EXPECT_FALSE(IsKeyDown(ControllerSouth));
}

} // namespace
