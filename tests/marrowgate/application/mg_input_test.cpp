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

TEST_F(InputTest, CodesOutsideTheTableAreIgnored)
{
    mgImplementation::OnKeyDown(static_cast<Key>(kKeyCount), false);
    mgImplementation::OnKeyDown(static_cast<Key>(-1), false);
    EXPECT_FALSE(IsKeyDown(static_cast<Key>(kKeyCount)));
    EXPECT_FALSE(IsKeyReleased(static_cast<Key>(-1)));
}

TEST_F(InputTest, MousePositionKeepsThePreviousPass)
{
    mgImplementation::RecordMousePosition(3, 4);
    mgImplementation::BeginInputFrame();
    mgImplementation::RecordMousePosition(5, 6);
    EXPECT_EQ(GetPreviousMousePosition().x, 3);
    EXPECT_EQ(GetMousePosition().y, 6);
}

} // namespace
