// The logo scene's timing: opaque, then a 350 ms fade, then the change to the target scene
// on the 250th step of 10 ms; a key or click jumps to the fade.

#include "marrowgate/application/mg_input.h"
#include "marrowgate/game/mg_default_scene.h"
#include "support/error_capture.h"

#include <gtest/gtest.h>

#include <functional>

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

// One pass of input and a refresh of the key bindings, then the scene's step.
void Step(mgImplementation::DefaultScene& scene, const std::function<void()>& events = nullptr)
{
    mgImplementation::BeginInputFrame();
    if (events) {
        events();
    }
    mgImplementation::RefreshKeyBindings();
    scene.OnSimulate();
}

void Hold(Marrowgate::Application::Key key, bool down)
{
    if (Marrowgate::Application::IsControllerInput(key)) {
        mgImplementation::OnControllerButton(0, key, down);
    } else if (down) {
        mgImplementation::OnKeyDown(key, false);
    } else {
        mgImplementation::OnKeyUp(key);
    }
}

TEST(DefaultScene, ReleasingAKeyOrClickingJumpsToTheFadeOut)
{
    using namespace Marrowgate::Application;
    QuorvaneTest::ErrorCapture errors;
    mgImplementation::ResetInputState();
    for (const Key key : {KeySpace, MouseLeft, KeyEscape, ControllerBack}) {
        Target target;
        mgImplementation::DefaultScene scene;
        scene.ShowLogoBefore(&target);
        Step(scene, [key] { Hold(key, true); });
        // The step of the release starts the fade's 350 ms and takes the first 10 of them.
        Step(scene, [key] { Hold(key, false); });
        EXPECT_NEAR(scene.GetLogoColor().GetAlpha(), 340.0f / 350.0f, 1e-5f) << key;
        for (int step = 1; step < 34; ++step) {
            Step(scene);
        }
        EXPECT_EQ(scene.GetTargetScene(), &target) << key;
        Step(scene);
        EXPECT_EQ(scene.GetTargetScene(), nullptr) << key;
    }
}

} // namespace
