#pragma once
// Brings the real game up as its program entry does (window, title, then the logo and the start
// scene, which loads shaders, audio event table and scenes), runs it until the window closes,
// and takes it down in the reverse order.
// Drive it with a DrivenPlatformScope installed first.

#include "scene_manager.h"

#include <functional>

namespace QuorvaneReliability {

struct GameSessionOptions
{
    SceneIdentifier firstScene = kSplashScene;
    bool verticalSync = false;
    // Runs once the window and its context exist, before the game loads anything.
    std::function<void()> afterWindowOpened;
};

// Changes to the source tree (where data/ lives) for the run. Returns when the window has closed.
void RunGameSession(const GameSessionOptions& options);

} // namespace QuorvaneReliability
