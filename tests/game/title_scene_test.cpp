#include "title_scene.h"

#include "game_flow_fixture.h"
#include "marrowgate/graphics/mg_screen.h"

#include <gmock/gmock.h>

namespace {

using Marrowgate::Application::KeyEscape;
using Marrowgate::Application::KeySpace;
using Marrowgate::Application::MouseLeft;
using Marrowgate::Game::GameApplication;
using QuorvaneTest::BeginStep;
using QuorvaneTest::KeyDownEvent;
using QuorvaneTest::KeyUpEvent;
using QuorvaneTest::Press;

class TitleSceneTest : public QuorvaneTest::GameFlowTest
{
protected:
    TitleSceneTest() { title.OnOpen(); }

    void Steps(int count)
    {
        for (int step = 0; step < count; ++step) {
            BeginStep();
            title.OnSimulate();
        }
    }

    TitleScene& title = Scene<TitleScene>(kTitleScene);
};

struct StartCase
{
    Marrowgate::Application::Key key;
    int stepsAfterPress;
    bool playRequested;
};

class TitleStartTest : public TitleSceneTest, public ::testing::WithParamInterface<StartCase>
{
};

TEST_P(TitleStartTest, AStartPressDuringTheFadeInFadesOutAndRequestsPlayFiftyStepsLater)
{
    Steps(10);
    BeginStep({Press(GetParam().key)});
    title.OnSimulate();
    EXPECT_EQ(title.GetFadeOutTimer().GetMilliseconds(), 500u);
    Steps(GetParam().stepsAfterPress);
    EXPECT_EQ(RequestedScene() == SceneManager::GetScene(kGameplayScene), GetParam().playRequested);
}

INSTANTIATE_TEST_SUITE_P(Keys, TitleStartTest,
                         ::testing::Values(StartCase{KeySpace, 49, false}, StartCase{KeySpace, 50, true},
                                           StartCase{MouseLeft, 50, true},
                                           StartCase{Marrowgate::Application::ControllerSouth, 50, true},
                                           StartCase{Marrowgate::Application::ControllerStart, 50, true}));

TEST_F(TitleSceneTest, TheFadeOutsColourWinsOverTheFadeIns)
{
    Steps(10);
    BeginStep({Press(KeySpace)});
    title.OnSimulate();
    Steps(1);
    // Fading in alone would show it 22% opaque now; the fade-out starts from opaque instead.
    EXPECT_NEAR(title.GetColor().GetAlpha(), 1.0f, 1e-6f);
    Steps(24);
    EXPECT_NEAR(title.GetColor().GetAlpha(), 0.52f, 1e-6f);
}

TEST_F(TitleSceneTest, TheTitleFadesInOverHalfASecondAndThenWaits)
{
    EXPECT_EQ(title.GetColor().GetAlpha(), 0.0f);
    Steps(25);
    EXPECT_NEAR(title.GetColor().GetAlpha(), 0.48f, 1e-6f);
    Steps(25);
    EXPECT_EQ(title.GetColor().GetColorARGB(), 0xFFFFFFFFu);
    Steps(500);
    EXPECT_EQ(RequestedScene(), nullptr);
}

TEST_F(TitleSceneTest, HoldingEscapeDoesNotQuitLettingGoDoes)
{
    GameApplication::ChangeToScene(&title);
    RunPasses({{0.02, {KeyDownEvent(KeyEscape)}},
               {0.02, {}},
               {0.02, {}},
               {0.02, {KeyUpEvent(KeyEscape)}},
               {0.02, {}},
               {0.02, {}}});
    // The release is seen in the fourth frame; the window closes at its end.
    EXPECT_EQ(platform.passes, 5);
    EXPECT_THAT(log, ::testing::Contains("DestroyWindow"));
}

TEST_F(TitleSceneTest, LettingGoOfBackOnAControllerQuitsAsEscapeDoes)
{
    using QuorvaneTest::ControllerButtonEvent;
    GameApplication::ChangeToScene(&title);
    RunPasses({{0.02, {ControllerButtonEvent(5, Marrowgate::Application::ControllerBack, true)}},
               {0.02, {}},
               {0.02, {ControllerButtonEvent(5, Marrowgate::Application::ControllerBack, false)}},
               {0.02, {}}});
    EXPECT_EQ(platform.passes, 4);
    EXPECT_THAT(log, ::testing::Contains("DestroyWindow"));
}

TEST_F(TitleSceneTest, HoldingEscapeAloneKeepsTheTitleUp)
{
    GameApplication::ChangeToScene(&title);
    RunPasses({{0.02, {KeyDownEvent(KeyEscape)}}, {0.02, {}}, {0.02, {}}});
    // Only the end of the script (a close request in the fourth pass) ends this run.
    EXPECT_EQ(platform.passes, 4);
}

TEST_F(TitleSceneTest, TheTitleFollowsTheMiddleOfTheScreenWhenTheWindowChangesSize)
{
    // As after a switch to full screen.
    Marrowgate::Graphics::SetScreenSize(1920, 1080);
    title.Render();
    EXPECT_EQ(title.GetTitle().GetPosition().x, 960.0f);
    EXPECT_EQ(title.GetTitle().GetPosition().y, 540.0f);
}

} // namespace
