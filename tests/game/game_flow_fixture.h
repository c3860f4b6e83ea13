#pragma once
// A game application on the scripted window system with the game's three scenes created, for
// tests of the scenes' timing and their requests to the application. Nothing is drawn (the
// scripted platform has no OpenGL), and every error report ends the process, as in the game.

#include "marrowgate/application/scripted_platform.h"
#include "marrowgate/game/mg_game_application.h"
#include "scene_manager.h"
#include "scripted_steps.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace QuorvaneTest {

class GameFlowTest : public ::testing::Test
{
protected:
    GameFlowTest()
    {
        ClearKeys();
        SceneManager::Create();
    }
    ~GameFlowTest() override { SceneManager::Destroy(); }

    template <typename SceneType> SceneType& Scene(SceneIdentifier identifier)
    {
        return *static_cast<SceneType*>(SceneManager::GetScene(identifier));
    }

    // Runs the real loop, one frame per pass; a scene change asked for beforehand takes
    // effect in the first frame. The loop ends when the script runs out or the game quits.
    void RunPasses(std::vector<ScriptedPass> passes)
    {
        platform.script.assign(passes.begin(), passes.end());
        application->RunGame(nullptr);
    }

    // The scene that a frame starting now would open (null when none was asked for).
    Marrowgate::Game::GameScene* RequestedScene()
    {
        RunPasses({{0.0, {}}});
        return Marrowgate::Game::GameApplication::GetCurrentScene();
    }

    std::vector<std::string> log;
    ScriptedPlatform platform{log};
    ScriptedPlatformScope scope{platform};
    std::unique_ptr<Marrowgate::Game::GameApplication> application =
        std::make_unique<Marrowgate::Game::GameApplication>(Marrowgate::Application::WindowMode::kWindowed, 0,
                                                            0, true);
};

} // namespace QuorvaneTest
