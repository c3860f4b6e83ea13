#include "splash_scene.h"

#include "game_flow_fixture.h"
#include "marrowgate/graphics/mg_screen.h"

namespace {

using Marrowgate::Application::KeyEscape;
using Marrowgate::Application::KeySpace;
using Marrowgate::Application::MouseLeft;
using QuorvaneTest::BeginStep;
using QuorvaneTest::Press;
using QuorvaneTest::Release;

class SplashSceneTest : public QuorvaneTest::GameFlowTest
{
protected:
    SplashSceneTest() { splash.OnOpen(); }

    void Steps(int count)
    {
        for (int step = 0; step < count; ++step) {
            BeginStep();
            splash.OnSimulate();
        }
    }

    SplashScene& splash = Scene<SplashScene>(kSplashScene);
};

struct StepsCase
{
    int steps;
    bool titleRequested;
};

class SplashAloneTest : public SplashSceneTest, public ::testing::WithParamInterface<StepsCase>
{
};

TEST_P(SplashAloneTest, WithoutInputTheTitleIsRequestedOnTheStepThatReachesFourSeconds)
{
    Steps(GetParam().steps);
    EXPECT_EQ(RequestedScene() == SceneManager::GetScene(kTitleScene), GetParam().titleRequested);
}

INSTANTIATE_TEST_SUITE_P(Steps, SplashAloneTest,
                         ::testing::Values(StepsCase{399, false}, StepsCase{400, true}));

class SplashSkipTest : public SplashSceneTest, public ::testing::WithParamInterface<StepsCase>
{
};

// Space goes down at 190 ms and up at 200 ms; counting the release as the first step, the
// fade-out's 500 ms end on the 50th.
TEST_P(SplashSkipTest, ReleasingASkipKeyAtTwoHundredMillisecondsJumpsToTheFadeOut)
{
    Steps(19);
    BeginStep({Press(KeySpace)});
    splash.OnSimulate();
    ASSERT_EQ(splash.GetSplashTimer().GetMilliseconds(), 200u);
    BeginStep({Release(KeySpace)});
    splash.OnSimulate();
    EXPECT_EQ(splash.GetSplashTimer().GetMilliseconds(), 3510u);
    Steps(GetParam().steps - 1);
    EXPECT_EQ(RequestedScene() == SceneManager::GetScene(kTitleScene), GetParam().titleRequested);
}

INSTANTIATE_TEST_SUITE_P(Steps, SplashSkipTest, ::testing::Values(StepsCase{49, false}, StepsCase{50, true}));

TEST_F(SplashSceneTest, EscapeALeftClickAndTheControllersSouthAndBackSkipToo)
{
    for (Marrowgate::Application::Key key : {KeyEscape, MouseLeft, Marrowgate::Application::ControllerSouth,
                                             Marrowgate::Application::ControllerBack}) {
        splash.OnOpen();
        Steps(5);
        BeginStep({Press(key)});
        splash.OnSimulate();
        BeginStep({Release(key)});
        splash.OnSimulate();
        EXPECT_EQ(splash.GetSplashTimer().GetMilliseconds(), 3510u) << "key " << key;
    }
}

TEST_F(SplashSceneTest, ASkipDuringTheFadeOutChangesNothing)
{
    Steps(360);
    BeginStep({Press(KeySpace)});
    splash.OnSimulate();
    BeginStep({Release(KeySpace)});
    splash.OnSimulate();
    EXPECT_EQ(splash.GetSplashTimer().GetMilliseconds(), 3620u);
}

TEST_F(SplashSceneTest, TheLogoFadesInOverOneSecondAndOutOverTheLastHalfSecond)
{
    EXPECT_EQ(splash.GetColor().GetAlpha(), 0.0f);
    Steps(50);
    EXPECT_NEAR(splash.GetColor().GetAlpha(), 0.5f, 1e-6f);
    Steps(50);
    EXPECT_EQ(splash.GetColor().GetColorARGB(), 0xFFFFFFFFu);
    Steps(275);
    EXPECT_NEAR(splash.GetColor().GetAlpha(), 0.5f, 1e-6f);
    Steps(25);
    EXPECT_EQ(splash.GetColor().GetAlpha(), 0.0f);
}

TEST_F(SplashSceneTest, OpeningAgainStartsOver)
{
    Steps(200);
    splash.OnOpen();
    EXPECT_EQ(splash.GetSplashTimer().GetMilliseconds(), 0u);
    EXPECT_EQ(splash.GetColor().GetAlpha(), 0.0f);
}

TEST_F(SplashSceneTest, TheLogoFollowsTheMiddleOfTheScreenWhenTheWindowChangesSize)
{
    // As after a switch to full screen.
    Marrowgate::Graphics::SetScreenSize(1920, 1080);
    splash.Render();
    EXPECT_EQ(splash.GetLogo().GetPosition().x, 960.0f);
    EXPECT_EQ(splash.GetLogo().GetPosition().y, 540.0f);
}

} // namespace
