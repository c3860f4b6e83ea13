// The game's start on a real window: the framework's logo is drawn before the game loads
// anything, the first scene starts with its scenes and programs loaded, and everything the
// start loaded is gone once the window has closed, including when it closed during the logo.
#include "driven_platform.h"
#include "game_session.h"

#include "marrowgate/game/mg_game_application.h"
#include "start_scene.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr double kSecondsPerFrame = 1.0 / 60.0;

// What the game had loaded at the start of one pass of the loop, and which scene was current
// (none while the framework's logo shows).
struct PassView
{
    bool logo = false;
    bool startScene = false;
    bool titleScene = false;
    bool scenesLoaded = false;
    bool programsLoaded = false;
};

PassView LookAtGame()
{
    Marrowgate::Game::GameScene* current = Marrowgate::Game::GameApplication::GetCurrentScene();
    PassView view;
    view.logo = current == nullptr;
    view.startScene = dynamic_cast<StartScene*>(current) != nullptr;
    view.scenesLoaded = theSceneManager != nullptr;
    view.titleScene =
        view.scenesLoaded && current != nullptr && current == SceneManager::GetScene(kTitleScene);
    view.programsLoaded =
        theBasicObjectShader != Cinderhall::InvalidShader && theVisualizerShader != Cinderhall::InvalidShader;
    return view;
}

class GameStartTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr) {
            GTEST_SKIP() << "needs a display (run under xvfb-run)";
        }
    }

    void ExpectNothingLeftLoaded()
    {
        EXPECT_EQ(theSceneManager, nullptr);
        EXPECT_EQ(theBasicObjectShader, Cinderhall::InvalidShader);
        EXPECT_EQ(theVisualizerShader, Cinderhall::InvalidShader);
    }
};

TEST_F(GameStartTest, TheLogoIsDrawnBeforeTheGameLoadsAndTheFirstSceneStartsWithAllItNeeds)
{
    QuorvaneReliability::DrivenPlatformScope scope(kSecondsPerFrame);
    std::vector<PassView> passes;
    scope.GetPlatform().SetPassCallback([&] {
        passes.push_back(LookAtGame());
        if (passes.back().titleScene) {
            scope.GetPlatform().RequestClose();
        }
    });
    QuorvaneReliability::RunGameSession({kTitleScene, false, {}});

    ASSERT_GE(passes.size(), 3u);
    std::size_t logoFrames = 0;
    while (logoFrames < passes.size() && passes[logoFrames].logo) {
        EXPECT_FALSE(passes[logoFrames].scenesLoaded || passes[logoFrames].programsLoaded) << logoFrames;
        ++logoFrames;
    }
    // The pass that looks after the first frame still sees nothing of the game: that frame was the logo's.
    EXPECT_GE(logoFrames, 2u);
    ASSERT_LE(logoFrames + 2, passes.size());
    // One frame of the start scene, loaded by its opening; then the first scene, with everything.
    const PassView& start = passes[logoFrames];
    EXPECT_TRUE(start.startScene);
    EXPECT_TRUE(start.scenesLoaded && start.programsLoaded);
    const PassView& first = passes[logoFrames + 1];
    EXPECT_TRUE(first.titleScene && first.programsLoaded);
    EXPECT_EQ(passes.size(), logoFrames + 2);
    ExpectNothingLeftLoaded();
}

TEST_F(GameStartTest, AWindowClosedDuringTheLogoLoadsAndReleasesNothingWithoutAReport)
{
    QuorvaneReliability::DrivenPlatformScope scope(kSecondsPerFrame);
    int passCount = 0;
    bool anythingLoaded = false;
    scope.GetPlatform().SetPassCallback([&] {
        const PassView view = LookAtGame();
        anythingLoaded = anythingLoaded || view.scenesLoaded || view.programsLoaded || !view.logo;
        if (++passCount == 10) {
            scope.GetPlatform().RequestClose();
        }
    });
    // A report would end this process through the game application's error handler.
    QuorvaneReliability::RunGameSession({kSplashScene, false, {}});

    EXPECT_GE(passCount, 10);
    EXPECT_FALSE(anythingLoaded);
    ExpectNothingLeftLoaded();
}

} // namespace
