#include "marrowgate/game/mg_key_binding.h"

#include <gtest/gtest.h>

namespace {

using namespace Marrowgate::Application;
using Marrowgate::Game::KeyBinding;

// One pass of the loop followed by one fixed step: the events of the pass, then a refresh.
class KeyBindingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mgImplementation::ResetInputState();
        Step();
    }
    template <typename Events> void Step(Events events)
    {
        mgImplementation::BeginInputFrame();
        events();
        mgImplementation::RefreshKeyBindings();
    }
    void Step()
    {
        Step([] {});
    }
};

TEST_F(KeyBindingTest, APressIsSeenByOneStepOnly)
{
    const KeyBinding binding(KeyJ);
    Step([] { mgImplementation::OnKeyDown(KeyJ, false); });
    EXPECT_TRUE(binding.IsPressed());
    EXPECT_TRUE(binding.IsDown());
    // A second step in the same pass sees no change.
    mgImplementation::RefreshKeyBindings();
    EXPECT_FALSE(binding.IsPressed());
    EXPECT_TRUE(binding.IsDown());
    Step([] { mgImplementation::OnKeyDown(KeyJ, true); });
    EXPECT_FALSE(binding.IsPressed());
}

// On a slow frame the key's down and up arrive in the events of one pass; on a fast one a tap can
// fall between two steps. Either way the step after it sees a press and the next one a release.
TEST_F(KeyBindingTest, AQuickTapIsPressedForOneStepThenReleased)
{
    const KeyBinding binding{KeySpace, ControllerStart};
    const auto expectTapSeen = [this, &binding](const char* how) {
        EXPECT_TRUE(binding.IsPressed()) << how;
        Step();
        EXPECT_TRUE(binding.IsReleased()) << how;
        EXPECT_FALSE(binding.IsDown()) << how;
        Step();
        EXPECT_FALSE(binding.IsReleased()) << how;
    };
    Step([] {
        mgImplementation::OnKeyDown(KeySpace, false);
        mgImplementation::OnKeyUp(KeySpace);
    });
    expectTapSeen("key tapped within one pass");
    Step([] {
        mgImplementation::OnControllerButton(2, ControllerStart, true);
        mgImplementation::OnControllerButton(2, ControllerStart, false);
    });
    expectTapSeen("button tapped within one pass");
    // A pass without a step, then the release in the next pass.
    mgImplementation::BeginInputFrame();
    mgImplementation::OnKeyDown(KeySpace, false);
    Step([] { mgImplementation::OnKeyUp(KeySpace); });
    expectTapSeen("key tapped across a pass without a step");
}

TEST_F(KeyBindingTest, ATapBeforeTheFirstPassIsDroppedWithEverythingElse)
{
    const KeyBinding binding(KeySpace);
    mgImplementation::ResetInputState();
    mgImplementation::OnKeyDown(KeySpace, false);
    mgImplementation::OnKeyUp(KeySpace);
    Step();
    EXPECT_FALSE(binding.IsPressed());
    EXPECT_FALSE(binding.IsDown());
}

TEST_F(KeyBindingTest, EitherOfTwoKeysHoldsAndReleasingOneIsAReleaseWhileTheOtherIsHeld)
{
    KeyBinding binding;
    binding.AddKey(KeyEscape);
    binding.AddKey(KeySpace);
    Step([] { mgImplementation::OnKeyDown(KeyEscape, false); });
    Step([] { mgImplementation::OnKeyDown(KeySpace, false); });
    EXPECT_TRUE(binding.IsDown());
    Step([] { mgImplementation::OnKeyUp(KeyEscape); });
    EXPECT_TRUE(binding.IsReleased());
    EXPECT_TRUE(binding.IsDown());
    Step();
    EXPECT_FALSE(binding.IsReleased());
}

TEST_F(KeyBindingTest, KeyboardAndControllerHoldOneBindingTogetherUntilBothLetGo)
{
    const KeyBinding binding{KeyUp, ControllerDPadUp};
    Step([] { mgImplementation::OnKeyDown(KeyUp, false); });
    Step([] { mgImplementation::OnControllerButton(4, ControllerDPadUp, true); });
    Step([] { mgImplementation::OnKeyUp(KeyUp); });
    EXPECT_TRUE(binding.IsDown());
    Step([] { mgImplementation::OnControllerRemoved(4); });
    EXPECT_FALSE(binding.IsDown());
    EXPECT_TRUE(binding.IsReleased());
}

TEST_F(KeyBindingTest, ANewBindingOfAHeldKeyGivesTheOthersNoPhantomPress)
{
    const KeyBinding held(KeyK);
    Step([] { mgImplementation::OnKeyDown(KeyK, false); });
    ASSERT_TRUE(held.IsPressed());
    KeyBinding added;
    added.AddKey(KeyK);
    const KeyBinding braced{KeyK, KeyL};
    EXPECT_TRUE(held.IsDown());
    EXPECT_TRUE(added.IsDown());
    Step();
    EXPECT_FALSE(held.IsPressed());
    EXPECT_FALSE(braced.IsPressed());
    EXPECT_TRUE(held.IsDown());
}

// A held key let go and pressed again between two steps: without the release step a game that
// acts on presses would miss the second press.
TEST_F(KeyBindingTest, AReleaseAndPressBetweenTwoStepsAreSeenOnSuccessiveSteps)
{
    const KeyBinding binding(KeyR);
    Step([] { mgImplementation::OnKeyDown(KeyR, false); });
    Step([] {
        mgImplementation::OnKeyUp(KeyR);
        mgImplementation::OnKeyDown(KeyR, false);
    });
    EXPECT_TRUE(binding.IsReleased());
    EXPECT_FALSE(binding.IsDown());
    Step();
    EXPECT_TRUE(binding.IsPressed());
    Step();
    EXPECT_TRUE(binding.IsDown());
    EXPECT_FALSE(binding.IsPressed());
    // The same with the key let go once more before the owed press: a press, then a release.
    Step([] {
        mgImplementation::OnKeyUp(KeyR);
        mgImplementation::OnKeyDown(KeyR, false);
        mgImplementation::OnKeyUp(KeyR);
    });
    EXPECT_TRUE(binding.IsReleased());
    Step();
    EXPECT_TRUE(binding.IsPressed());
    Step();
    EXPECT_TRUE(binding.IsReleased());
    Step();
    EXPECT_FALSE(binding.IsDown());
    EXPECT_FALSE(binding.IsReleased());
}

TEST_F(KeyBindingTest, ABindingFirstAskedAboutLaterStartsUp)
{
    Step([] { mgImplementation::OnKeyDown(KeyQ, false); });
    const KeyBinding late(KeyQ);
    EXPECT_FALSE(late.IsDown());
    Step();
    EXPECT_TRUE(late.IsPressed());
}

} // namespace
