// The logo scene's timing: opaque, then a 350 ms fade, then the change to the target scene
// on the 250th step of 10 ms.

#include "marrowgate/game/mg_default_scene.h"
#include "support/error_capture.h"

#include <gtest/gtest.h>

namespace {

class Target : public Marrowgate::Game::GameScene
{
};

TEST(DefaultScene, FadesOverTheLastStepsAndHandsOverOnTheTwoHundredFiftiethStep)
{
    QuorvaneTest::ErrorCapture errors; // the logo sound may find no audio device here
    Target target;
    mgImplementation::DefaultScene scene;
    scene.ShowLogoBefore(&target);
    for (int step = 1; step <= 215; ++step) {
        scene.OnSimulate();
    }
    EXPECT_FLOAT_EQ(scene.GetLogoColor().GetAlpha(), 1.0f); // 350 ms left: still opaque
    scene.OnSimulate();
    EXPECT_NEAR(scene.GetLogoColor().GetAlpha(), 340.0f / 350.0f, 1e-5f);
    for (int step = 217; step <= 249; ++step) {
        scene.OnSimulate();
    }
    EXPECT_NEAR(scene.GetLogoColor().GetAlpha(), 10.0f / 350.0f, 1e-5f);
    EXPECT_EQ(scene.GetTargetScene(), &target);
    scene.OnSimulate();
    EXPECT_EQ(scene.GetTargetScene(), nullptr);
    EXPECT_FLOAT_EQ(scene.GetLogoColor().GetAlpha(), 0.0f);
    scene.OnSimulate(); // nothing more to do
    EXPECT_FLOAT_EQ(scene.GetLogoColor().GetAlpha(), 0.0f);
}

} // namespace
