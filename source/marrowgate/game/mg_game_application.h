#pragma once
/// GameApplication: the realtime application turned into a fixed-step game loop over scenes.
/// @file
/// Each frame measures the real delta (capped at 0.1 s), applies a pending scene change, then
/// runs at most 5 fixed steps of 10 ms on the current scene (or the framework's logo scene
/// when there is none) before updating and drawing it once. The step length, the step cap and
/// a time scale can be set, and the simulation paused while frames go on. Scene changes and quitting are
/// requests that take effect at frame boundaries, so a scene may ask for them from anywhere
/// inside its own simulate or update.
///
/// While it exists the application is the program's error handler: a report shows a message
/// box (its text also goes to stderr) and then ends the program with exit status 1. At most
/// one exists at a time.
///
/// Depends on: application (window and loop), graphics (renderer, camera), audio (manager
/// update per step), the game scenes.

#include "marrowgate/application/mg_application_handler_interface.h"
#include "marrowgate/application/mg_realtime_application.h"
#include "marrowgate/core/mg_error.h"

#include <cstdint>
#include <string>

namespace Marrowgate::Game {

class GameScene;

class GameApplication : public Marrowgate::Application::RealtimeApplication,
                        public Marrowgate::Core::Error::ErrorHandlerInterface
{
public:
    // When the key bindings are refreshed: before every fixed step (true), or once per frame
    // after the steps (false).
    static bool sUpdateInputEveryStep;

    // A windowed 0 by 0 request means the default 1280 by 720 window at (100, 100); for the
    // full-screen modes a zero size means the desktop's resolution. Opens the window.
    GameApplication(const Marrowgate::Application::WindowMode& windowMode, const std::uint16_t& width,
                    const std::uint16_t& height, bool verticalSync);
    // Stops being the error handler; the window is closed by the loop, not here.
    ~GameApplication() override;

    void SetWindowTitle(const std::string& title);
    // Shows the framework logo for 2.5 s (a key or click cuts it short; MARROWGATE_SKIP_LOGO=1
    // in the environment leaves it out), then switches to firstScene; returns when the window
    // has closed.
    void RunGame(GameScene* firstScene);

    // Takes effect at the start of the next frame; a later call before then wins.
    static void ChangeToScene(GameScene* scene);
    // The current frame finishes, the scene is closed and the window closes with it.
    static void RequestQuit();
    static GameScene* GetCurrentScene();

    // Pausing stops the steps, so the simulation and every GameTimer hold; frames, input,
    // updates and drawing go on, and the key bindings refresh once a frame so that a pause
    // screen can read them in its OnUpdate. With pauseSounds every sound holds too until the
    // resume. No time piles up meanwhile: the resume goes on where the pause left off.
    static void SetPaused(bool paused, bool pauseSounds = false);
    static bool IsPaused();
    // The fixed step in milliseconds, 1 to 1000 (default 10). A GameTimer moves by one step per
    // step, so its milliseconds stay simulation time. Anything else is reported and ignored.
    static void SetMillisecondsPerStep(std::uint32_t milliseconds);
    // The most steps one frame runs (default 5, at least 1); what they leave waits for later
    // frames. Anything below 1 is reported and ignored.
    static void SetMaximumStepsPerFrame(int steps);
    static int GetMaximumStepsPerFrame();
    // Simulation seconds per real second (default 1): 0.5 is slow motion, 0 stops the steps
    // as a pause does. OnUpdate still gets the real frame time (multiply by the scale where an
    // animation should slow down with the world). A negative or non-finite scale is reported
    // and ignored.
    static void SetTimeScale(float scale);
    static float GetTimeScale();
    // A scene being destroyed stops being current or pending, so no frame reaches it.
    static void ForgetScene(const GameScene* scene);
    static bool IsWindowActive();

    // Shows the report with its unit and line, then ends the program with exit status 1.
    [[noreturn]] void OnErrorFired(const std::string& message) override;

private:
    // Always null: RunGame compares its argument against it, so a null first scene leaves
    // the logo scene running with nowhere to go.
    GameScene* mScene = nullptr;
};

} // namespace Marrowgate::Game
