// The real game on a real window, switched between the window and full screen every third
// frame from the first frame on: through the logo, the splash, the title and the scene changes
// between them, and then thirty more times in play. The context stays through every switch, so
// play must hold the same live GL objects and texture memory after the switches as before them.
#include "driven_platform.h"
#include "game_session.h"
#include "resource_counters.h"
#include "scene_manager.h"

#include "marrowgate/application/implementation/sdl/mgi_full_screen.h"
#include "marrowgate/game/mg_game_application.h"
#include "marrowgate/graphics/mg_screen.h"
#include "marrowgate/graphics/mg_texture_manager.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <utility>
#include <vector>

namespace {

constexpr int kSwitchesInPlay = 30;

struct Counts
{
    std::size_t glObjects = 0;
    std::uint64_t textureMemory = 0;
};

Counts Measure()
{
    return {QuorvaneReliability::CountLiveGLObjects().Total(), Marrowgate::Graphics::GetTextureMemory()};
}

bool InGameplay()
{
    // The scenes exist only once the start scene has loaded them, after the logo's first frame.
    return theSceneManager != nullptr &&
           Marrowgate::Game::GameApplication::GetCurrentScene() == SceneManager::GetScene(kGameplayScene);
}

class SwitchingDriver
{
public:
    explicit SwitchingDriver(QuorvaneReliability::DrivenPlatform& platform) : mPlatform(platform) {}

    void OnPass()
    {
        if (mDone) {
            return;
        }
        ++mFrames;
        if (mFrames % 3 == 0) {
            mPlatform.ToggleFullScreen();
            ++switches;
            fullScreenSeen |= mgImplementation::IsFullScreen();
            screens.insert({Marrowgate::Graphics::ScreenWidth(), Marrowgate::Graphics::ScreenHeight()});
        }
        if (!InGameplay()) {
            // Space skips the splash to its fade-out and starts play from the title.
            if (mFrames % 20 == 0) {
                mPlatform.PressKey(Marrowgate::Application::KeySpace);
            } else if (mFrames % 20 == 1) {
                mPlatform.ReleaseKey(Marrowgate::Application::KeySpace);
            }
            return;
        }
        ++mFramesInPlay;
        if (mFramesInPlay == 5) {
            switchesBeforePlay = switches;
            before = Measure();
        } else if (mFramesInPlay > 5 && switches - switchesBeforePlay == kSwitchesInPlay) {
            after = Measure();
            mDone = true;
            mPlatform.RequestClose();
        }
    }

    Counts before;
    Counts after;
    int switches = 0;
    int switchesBeforePlay = 0;
    bool fullScreenSeen = false;
    std::set<std::pair<int, int>> screens;

private:
    QuorvaneReliability::DrivenPlatform& mPlatform;
    int mFrames = 0;
    int mFramesInPlay = 0;
    bool mDone = false;
};

TEST(FullScreenSwitching, ManySwitchesAcrossSceneChangesKeepEveryGLResourceLevel)
{
    if (std::getenv("DISPLAY") == nullptr) {
        GTEST_SKIP() << "needs a display (run under xvfb-run)";
    }
    QuorvaneReliability::DrivenPlatformScope scope(0.05);
    SwitchingDriver driver(scope.GetPlatform());
    scope.GetPlatform().SetPassCallback([&driver] { driver.OnPass(); });

    QuorvaneReliability::RunGameSession({kSplashScene, false, {}});

    EXPECT_TRUE(driver.fullScreenSeen);
    EXPECT_GT(driver.switchesBeforePlay, 20) << "the switches must span the scene changes before play";
    EXPECT_GT(driver.before.glObjects, 0u);
    EXPECT_EQ(driver.after.glObjects, driver.before.glObjects);
    EXPECT_EQ(driver.after.textureMemory, driver.before.textureMemory);
    // The screen metrics followed the drawable into full screen and back.
    EXPECT_TRUE(driver.screens.contains({1280, 720}));
    EXPECT_TRUE(driver.screens.contains({1920, 1080}));
}

} // namespace
