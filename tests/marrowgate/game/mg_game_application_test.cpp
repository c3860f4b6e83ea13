#include "marrowgate/game/mg_game_application.h"

#include "marrowgate/application/mg_input.h"
#include "marrowgate/application/scripted_platform.h"
#include "marrowgate/audio/mg_audio_manager.h"
#include "marrowgate/game/mg_game_scene.h"
#include "marrowgate/game/mg_game_timer.h"
#include "marrowgate/game/mg_key_binding.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using Marrowgate::Application::Key;
using Marrowgate::Application::WindowMode;
using Marrowgate::Game::GameApplication;
using Marrowgate::Game::GameScene;
using QuorvaneTest::FakeClock;
using QuorvaneTest::KeyDownEvent;
using QuorvaneTest::KeyUpEvent;
using QuorvaneTest::ScriptedPass;
using ::testing::ElementsAre;

// A scene that counts what the frame loop does to it.
class ProbeScene : public GameScene
{
public:
    void OnOpen() override
    {
        GameScene::OnOpen();
        ++opens;
        openedAt = FakeClock::Seconds();
    }
    void OnClose() override
    {
        GameScene::OnClose();
        ++closes;
    }
    void OnSimulate() override
    {
        GameScene::OnSimulate();
        ++stepsThisFrame;
        if (onStep) {
            onStep();
        }
    }
    void OnUpdate(float deltaTime) override
    {
        GameScene::OnUpdate(deltaTime);
        stepsPerFrame.push_back(stepsThisFrame);
        accumulatorAfterFrame.push_back(GetStepAccumulator());
        stepsThisFrame = 0;
        if (onFrame) {
            onFrame();
        }
    }

    int opens = 0;
    int closes = 0;
    double openedAt = -1.0;
    int stepsThisFrame = 0;
    std::vector<int> stepsPerFrame;
    std::vector<float> accumulatorAfterFrame;
    std::function<void()> onStep;
    std::function<void()> onFrame;
};

std::unique_ptr<GameApplication> MakeApplication(WindowMode mode = WindowMode::kWindowed,
                                                 std::uint16_t width = 0, std::uint16_t height = 0)
{
    return std::make_unique<GameApplication>(mode, width, height, true);
}

class GameApplicationTest : public ::testing::Test
{
protected:
    void TearDown() override { GameApplication::sUpdateInputEveryStep = true; }

    // Runs from a first frame that opens `scene` directly (no logo), one pass per entry.
    void RunPasses(std::vector<ScriptedPass> passes)
    {
        platform.script.assign(passes.begin(), passes.end());
        GameApplication::ChangeToScene(&scene);
        application->RunGame(nullptr);
    }

    std::vector<std::string> log;
    QuorvaneTest::ScriptedPlatform platform{log};
    QuorvaneTest::ScriptedPlatformScope scope{platform};
    ProbeScene scene;
    std::unique_ptr<GameApplication> application = MakeApplication();
};

struct FrameCase
{
    double delta;
    int steps;
    float remainder;
};

class FixedStepTest : public GameApplicationTest, public ::testing::WithParamInterface<FrameCase>
{
};

TEST_P(FixedStepTest, AFrameRunsWholeStepsOfItsCappedDelta)
{
    RunPasses({{GetParam().delta, {}}});
    ASSERT_EQ(scene.stepsPerFrame.size(), 1u);
    EXPECT_EQ(scene.stepsPerFrame[0], GetParam().steps);
    EXPECT_NEAR(scene.accumulatorAfterFrame[0], GetParam().remainder, 1e-5);
}

// 0.2 s is capped to 0.1 s, of which five steps take half; exactly one step's worth runs none.
INSTANTIATE_TEST_SUITE_P(Deltas, FixedStepTest,
                         ::testing::Values(FrameCase{0.035, 3, 0.005f}, FrameCase{0.2, 5, 0.05f},
                                           FrameCase{0.01, 0, 0.01f}, FrameCase{0.0, 0, 0.0f}));

TEST_F(GameApplicationTest, WhatFiveStepsLeaveIsWorkedOffInLaterFrames)
{
    RunPasses({{0.2, {}}, {0.025, {}}, {0.0, {}}});
    EXPECT_THAT(scene.stepsPerFrame, ElementsAre(5, 5, 2));
    EXPECT_NEAR(scene.accumulatorAfterFrame.back(), 0.005f, 1e-5);
}

TEST_F(GameApplicationTest, OnlyTheLastSceneAskedForOpensAndTheOldOneClosesOnce)
{
    ProbeScene unwanted;
    ProbeScene wanted;
    scene.onFrame = [&] {
        GameApplication::ChangeToScene(&unwanted);
        GameApplication::ChangeToScene(&wanted);
    };
    wanted.onFrame = [] { GameApplication::RequestQuit(); };
    RunPasses({{0.02, {}}, {0.02, {}}, {0.02, {}}});
    EXPECT_EQ(scene.opens, 1);
    EXPECT_EQ(scene.closes, 1);
    EXPECT_EQ(unwanted.opens, 0);
    EXPECT_EQ(wanted.opens, 1);
    EXPECT_EQ(GameApplication::GetCurrentScene(), &wanted);
}

TEST_F(GameApplicationTest, APressIsSeenByExactlyOneStepAndAReleaseWaitsForTheNextStep)
{
    const Marrowgate::Game::KeyBinding binding(Marrowgate::Application::KeyA);
    std::string seen;
    scene.onStep = [&] { seen += binding.IsPressed() ? 'P' : binding.IsReleased() ? 'R' : '-'; };
    scene.onFrame = [&] { seen += '|'; };
    RunPasses({{0.035, {KeyDownEvent(Marrowgate::Application::KeyA)}},
               {0.02, {KeyDownEvent(Marrowgate::Application::KeyA, true)}},
               {0.002, {KeyUpEvent(Marrowgate::Application::KeyA)}},
               {0.01, {}}});
    EXPECT_EQ(seen, "P--|--||R|");
}

TEST_F(GameApplicationTest, RefreshingOncePerFrameShowsStepsThePreviousFrame)
{
    GameApplication::sUpdateInputEveryStep = false;
    const Marrowgate::Game::KeyBinding binding(Marrowgate::Application::KeyS);
    std::string seen;
    scene.onStep = [&] { seen += binding.IsPressed() ? 'P' : '-'; };
    scene.onFrame = [&] { seen += '|'; };
    RunPasses({{0.035, {KeyDownEvent(Marrowgate::Application::KeyS)}}, {0.02, {}}, {0.02, {}}});
    EXPECT_EQ(seen, "---|PP|--|");
}

TEST_F(GameApplicationTest, ReleasingEscapeOnAQuittingSceneEndsTheRunAtTheEndOfThatFrame)
{
    scene.onFrame = [] {
        if (Marrowgate::Application::IsKeyReleased(Marrowgate::Application::KeyEscape)) {
            GameApplication::RequestQuit();
        }
    };
    RunPasses({{0.02, {KeyDownEvent(Marrowgate::Application::KeyEscape)}},
               {0.02, {KeyUpEvent(Marrowgate::Application::KeyEscape)}},
               {0.02, {}},
               {0.02, {}}});
    EXPECT_EQ(scene.stepsPerFrame.size(), 2u);
    EXPECT_EQ(scene.closes, 1);
    EXPECT_EQ(platform.passes, 3);
    EXPECT_THAT(log, ::testing::Contains("DestroyWindow"));
}

TEST_F(GameApplicationTest, RunGameShowsTheLogoSceneBeforeTheFirstScene)
{
    const double start = FakeClock::Seconds();
    for (int pass = 0; pass < 60; ++pass) {
        platform.script.push_back({0.05, {}});
    }
    scene.onFrame = [] { GameApplication::RequestQuit(); };
    application->RunGame(&scene);
    ASSERT_EQ(scene.opens, 1);
    // 250 steps of 10 ms, then the switch at the start of the following frame.
    EXPECT_GE(scene.openedAt - start, 2.5);
    EXPECT_LE(scene.openedAt - start, 2.65);
}

TEST_F(GameApplicationTest, AZeroWindowedSizeGivesTheDefaultWindow)
{
    EXPECT_EQ(platform.createdWith.width, 1280);
    EXPECT_EQ(platform.createdWith.height, 720);
    EXPECT_EQ(platform.createdWith.x, 100);
    EXPECT_EQ(platform.createdWith.y, 100);
    EXPECT_TRUE(platform.createdWith.verticalSync);
}

TEST_F(GameApplicationTest, WindowActivityFollowsTheWindowEvents)
{
    EXPECT_TRUE(GameApplication::IsWindowActive());
    RunPasses({{0.02, {{QuorvaneTest::PlatformEventType::kBecomeInactive}}}});
    EXPECT_FALSE(GameApplication::IsWindowActive());
}

TEST_F(GameApplicationTest, AMinimisedGameStopsStepsAndSoundsAndGoesOnWithoutCatchingUp)
{
    using QuorvaneTest::PlatformEventType;
    using QuorvaneTest::WindowEvent;
    std::vector<bool> pausedAtEachWait;
    platform.onWait = [&] { pausedAtEachWait.push_back(Marrowgate::Audio::theAudioManager.IsPaused()); };
    RunPasses({{0.035, {}},
               {0.02, {WindowEvent(PlatformEventType::kHidden)}},
               {30.0, {}},
               {30.0, {WindowEvent(PlatformEventType::kShown)}},
               {0.02, {}}});
    // A minute away runs no step at all: neither while hidden nor as catch-up on the way back.
    EXPECT_THAT(scene.stepsPerFrame, ElementsAre(3, 0, 2));
    EXPECT_THAT(pausedAtEachWait, ElementsAre(true, true));
    EXPECT_FALSE(Marrowgate::Audio::theAudioManager.IsPaused());
}

TEST_F(GameApplicationTest, ADestroyedSceneStopsBeingCurrent)
{
    auto doomed = std::make_unique<ProbeScene>();
    doomed->onFrame = [] { GameApplication::RequestQuit(); };
    platform.script = {{0.02, {}}};
    GameApplication::ChangeToScene(doomed.get());
    application->RunGame(nullptr);
    ASSERT_EQ(GameApplication::GetCurrentScene(), doomed.get());
    doomed.reset();
    EXPECT_EQ(GameApplication::GetCurrentScene(), nullptr);
}

using GameApplicationDeathTest = GameApplicationTest;

TEST_F(GameApplicationDeathTest, AReportShowsTheMessageWithItsUnitAndLineThenExitsWithStatusOne)
{
    // An exit status, not an abort: no "terminate called", no core dump.
    EXPECT_EXIT(
        Marrowgate::Game::GameTimer(50).GetPercentageOf(Marrowgate::Game::GameTimer(0)),
        ::testing::ExitedWithCode(1),
        "Error Condition Triggered\nmgExternalError: Expected timeValue to be a non-zero time value.\n\n"
        "mg_game_timer  LINE: [0-9]+\n");
}

TEST_F(GameApplicationDeathTest, ASecondApplicationIsReported)
{
    EXPECT_EXIT(MakeApplication(), ::testing::ExitedWithCode(1),
                "mgInternalError: GameApplication has already been set.");
}

} // namespace
