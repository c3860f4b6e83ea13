#include "marrowgate/game/mg_game_application.h"

#include "marrowgate/application/mg_input.h"
#include "marrowgate/application/scripted_platform.h"
#include "marrowgate/audio/mg_audio_manager.h"
#include "marrowgate/game/mg_game_scene.h"
#include "marrowgate/game/mg_game_timer.h"
#include "marrowgate/game/mg_key_binding.h"
#include "support/error_capture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <memory>
#include <numeric>

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
    void OnTextInput(const std::string& text) override { typed.push_back(text); }
    void OnTextComposition(const std::string& text, int cursor, int selectionLength) override
    {
        typed.push_back("[" + text + " " + std::to_string(cursor) + "+" + std::to_string(selectionLength) +
                        "]");
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
    std::vector<std::string> typed;
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
    void TearDown() override
    {
        GameApplication::sUpdateInputEveryStep = true;
        GameApplication::SetMillisecondsPerStep(10);
        GameApplication::SetMaximumStepsPerFrame(5);
        GameApplication::SetTimeScale(1.0f);
    }

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

// Paused from the second frame to the fourth: the frames go on without steps, the bindings
// still show a press to the update, and the resume carries on without catching up.
TEST_F(GameApplicationTest, PauseStopsTheStepsAndKeepsTheFrames)
{
    const Marrowgate::Game::KeyBinding resume(Marrowgate::Application::KeyP);
    int frame = 0;
    std::vector<bool> pressedInUpdate;
    scene.onFrame = [&] {
        ++frame;
        pressedInUpdate.push_back(resume.IsPressed());
        if (frame == 1) {
            GameApplication::SetPaused(true);
        }
        if (resume.IsPressed()) {
            GameApplication::SetPaused(false);
        }
    };
    RunPasses({{0.02, {}},
               {0.05, {}},
               {0.05, {}},
               {0.05, {KeyDownEvent(Marrowgate::Application::KeyP)}},
               {0.02, {}},
               {0.02, {}}});
    EXPECT_THAT(scene.stepsPerFrame, ElementsAre(1, 0, 0, 0, 2, 2));
    EXPECT_THAT(pressedInUpdate, ElementsAre(false, false, false, true, false, false));
    EXPECT_FALSE(GameApplication::IsPaused());
}

TEST_F(GameApplicationTest, PausingWithSoundsHoldsThemUntilTheResumeEvenAcrossHiding)
{
    using Marrowgate::Audio::theAudioManager;
    GameApplication::SetPaused(true, true);
    EXPECT_TRUE(theAudioManager.IsPaused());
    RunPasses({{0.02, {QuorvaneTest::WindowEvent(QuorvaneTest::PlatformEventType::kHidden)}},
               {0.02, {QuorvaneTest::WindowEvent(QuorvaneTest::PlatformEventType::kShown)}},
               {0.02, {}}});
    EXPECT_TRUE(theAudioManager.IsPaused());
    GameApplication::SetPaused(false);
    EXPECT_FALSE(theAudioManager.IsPaused());
    GameApplication::SetPaused(true);
    EXPECT_FALSE(theAudioManager.IsPaused());
    GameApplication::SetPaused(false);
}

// 10 s of 20 ms frames at half speed is 5 s of simulation: 250 steps of 20 ms, the last of
// which needs the accumulator strictly above one step and may wait for the next frame.
TEST_F(GameApplicationTest, ALongerStepAndHalfSpeedRunTheStepsThatSimulatedTimeHolds)
{
    GameApplication::SetMillisecondsPerStep(20);
    GameApplication::SetTimeScale(0.5f);
    RunPasses(std::vector<ScriptedPass>(500, {0.02, {}}));
    const int steps = std::accumulate(scene.stepsPerFrame.begin(), scene.stepsPerFrame.end(), 0);
    EXPECT_GE(steps, 249);
    EXPECT_LE(steps, 250);
    EXPECT_LE(*std::ranges::max_element(scene.stepsPerFrame), 1);
}

TEST_F(GameApplicationTest, TheStepCapBoundsAFrameAndTheRestWaits)
{
    GameApplication::SetMaximumStepsPerFrame(2);
    RunPasses({{0.1, {}}, {0.0, {}}, {0.0, {}}});
    EXPECT_THAT(scene.stepsPerFrame, ElementsAre(2, 2, 2));
}

TEST_F(GameApplicationTest, AFrameRateCapSleepsOutTheRestOfEachFrame)
{
    application->SetFrameRateCap(50);
    const double start = FakeClock::Seconds();
    RunPasses(std::vector<ScriptedPass>(10, {0.001, {}}));
    application->SetFrameRateCap(0);
    ASSERT_GE(platform.sleeps.size(), 9u);
    for (std::size_t sleep = 1; sleep < platform.sleeps.size(); ++sleep) {
        EXPECT_NEAR(platform.sleeps[sleep], 0.019, 1e-6) << sleep;
    }
    EXPECT_NEAR(FakeClock::Seconds() - start, 0.2, 0.021);
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

// Text arrives whole, in UTF-8, to the scene that is current, and only while text input is on;
// an input method's composition comes first, then the text it settles on.
TEST_F(GameApplicationTest, TypedTextReachesTheCurrentSceneWhileTextInputIsOn)
{
    using QuorvaneTest::CompositionEvent;
    using QuorvaneTest::TextEvent;
    Marrowgate::Application::SetTextInputEnabled(true);
    EXPECT_TRUE(platform.textInput);
    scene.onFrame = [&] {
        if (scene.typed.size() == 6) {
            Marrowgate::Application::SetTextInputEnabled(false);
        }
    };
    // The first pass's events come before the frame that makes the scene current.
    RunPasses({{0.02, {}},
               {0.02, {TextEvent("Zo\u00EB"), TextEvent(" 42")}},
               {0.02, {CompositionEvent("\u304B", 1, 0), CompositionEvent("\u6F22\u5B57", 0, 2)}},
               {0.02, {CompositionEvent("", 0, 0), TextEvent("\u6F22\u5B57")}},
               {0.02, {TextEvent("dropped")}}});
    EXPECT_FALSE(platform.textInput);
    EXPECT_THAT(scene.typed, ElementsAre("Zo\u00EB", " 42", "[\u304B 1+0]", "[\u6F22\u5B57 0+2]", "[ 0+0]",
                                         "\u6F22\u5B57"));
}

TEST_F(GameApplicationTest, AWheelNotchIsOneTapForAKeyBinding)
{
    const Marrowgate::Game::KeyBinding zoomIn(Marrowgate::Application::MouseWheelUp);
    std::string seen;
    scene.onStep = [&] { seen += zoomIn.IsPressed() ? 'P' : zoomIn.IsReleased() ? 'R' : '-'; };
    scene.onFrame = [&] { seen += '|'; };
    RunPasses({{0.02, {QuorvaneTest::WheelEvent(Marrowgate::Application::MouseWheelUp)}}, {0.02, {}}});
    EXPECT_EQ(seen, "P|R-|");
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

TEST_F(GameApplicationTest, TheLogoIsLeftOutWhenTheEnvironmentSaysSo)
{
    setenv("MARROWGATE_SKIP_LOGO", "1", 1);
    platform.script = {{0.02, {}}};
    application->RunGame(&scene);
    unsetenv("MARROWGATE_SKIP_LOGO");
    EXPECT_EQ(scene.opens, 1);
    EXPECT_EQ(scene.stepsPerFrame.size(), 1u);
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

namespace {

TEST(LoopSettings, ValuesOutOfRangeAreReportedAndLeaveTheSettingAsItWas)
{
    QuorvaneTest::ErrorCapture errors;
    GameApplication::SetMillisecondsPerStep(0);
    GameApplication::SetMillisecondsPerStep(1001);
    EXPECT_EQ(Marrowgate::Game::MillisecondsPerStep(), 10u);
    GameApplication::SetMaximumStepsPerFrame(0);
    EXPECT_EQ(GameApplication::GetMaximumStepsPerFrame(), 5);
    GameApplication::SetTimeScale(-0.5f);
    GameApplication::SetTimeScale(std::numeric_limits<float>::quiet_NaN());
    GameApplication::SetTimeScale(std::numeric_limits<float>::infinity());
    EXPECT_EQ(GameApplication::GetTimeScale(), 1.0f);
    EXPECT_THAT(errors.messages,
                ElementsAre("mgExternalError: Expected a step length from 1 to 1000 milliseconds, not 0.",
                            "mgExternalError: Expected a step length from 1 to 1000 milliseconds, not 1001.",
                            "mgExternalError: Expected at least one step per frame, not 0.",
                            "mgExternalError: Expected a time scale of 0 or more, not -0.5.",
                            "mgExternalError: Expected a time scale of 0 or more, not nan.",
                            "mgExternalError: Expected a time scale of 0 or more, not inf."));
}

} // namespace
