#include "marrowgate/core/mg_json_parser.h"
#include "marrowgate/graphics/mg_animation_player.h"
#include "support/error_capture.h"

#include <gtest/gtest.h>

namespace {

using namespace Marrowgate::Graphics;
using QuorvaneTest::ErrorCapture;

// Four 8 x 8 frames in a row; every animation lasts 30 ms per frame unless it says otherwise.
class AnimationPlayerTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        sSheet = SpriteSheet::FromDescription(Marrowgate::Core::ParseJson(R"({
            "grid": {"frameWidth": 8, "frameHeight": 8},
            "animations": {
              "loop": {"frames": [0, 1, 2], "durations": [30, 30, 30]},
              "once": {"frames": [3, 2], "durations": [30, 30], "mode": "once"},
              "pingpong": {"frames": [0, 1, 2, 3], "durations": [30, 30, 30, 30], "mode": "pingpong",
                           "events": {"0": "start", "3": "turn"}}}})"),
                                              CreateBlankTexture(32, 8), "player.json");
    }

    // The frame shown after each of `steps` fixed steps of 10 ms.
    static std::vector<std::size_t> FramesOverSteps(AnimationPlayer& player, int steps)
    {
        std::vector<std::size_t> frames;
        for (int step = 0; step < steps; ++step) {
            player.Advance(10);
            frames.push_back(player.GetFrameIndex());
        }
        return frames;
    }

    static SpriteSheet sSheet;
};

SpriteSheet AnimationPlayerTest::sSheet;

TEST_F(AnimationPlayerTest, ALoopChangesFrameOnTheStepThatReachesEachDuration)
{
    AnimationPlayer player(sSheet);
    ASSERT_TRUE(player.Play("loop"));
    EXPECT_EQ(player.GetFrameIndex(), 0u);
    EXPECT_EQ(FramesOverSteps(player, 10), (std::vector<std::size_t>{0, 0, 1, 1, 1, 2, 2, 2, 0, 0}));
}

TEST_F(AnimationPlayerTest, PingPongTurnsAtEachEndWithoutShowingItTwice)
{
    AnimationPlayer player(sSheet);
    std::vector<std::string> events;
    player.SetEventCallback([&](const AnimationEvent& event) { events.push_back(event.event); });
    player.Play("pingpong");
    player.SetSpeed(3.0f); // one frame per step
    EXPECT_EQ(FramesOverSteps(player, 8), (std::vector<std::size_t>{1, 2, 3, 2, 1, 0, 1, 2}));
    EXPECT_EQ(events, (std::vector<std::string>{"start", "turn", "start"}));
}

TEST_F(AnimationPlayerTest, OnceStopsOnItsLastFrameAndReportsFinished)
{
    AnimationPlayer player(sSheet);
    player.Play("once");
    EXPECT_EQ(FramesOverSteps(player, 3), (std::vector<std::size_t>{3, 3, 2}));
    EXPECT_FALSE(player.IsFinished());
    EXPECT_EQ(FramesOverSteps(player, 3), (std::vector<std::size_t>{2, 2, 2}));
    EXPECT_TRUE(player.IsFinished());
    player.Play("once");
    EXPECT_TRUE(player.IsFinished()) << "playing the finished animation again is not a restart";
    EXPECT_EQ(player.GetFrameIndex(), 2u);
    player.Play("once", true);
    EXPECT_EQ(player.GetFrameIndex(), 3u);
}

TEST_F(AnimationPlayerTest, HugeSpeedsSkipWholeCyclesAndLandOnTheSamePhase)
{
    AnimationPlayer fast(sSheet);
    AnimationPlayer slow(sSheet);
    fast.Play("pingpong");
    slow.Play("pingpong");
    // The ping-pong cycle is 180 ms; 1,000,000 cycles and 70 ms more.
    fast.SetSpeed(1.0e6f);
    fast.Advance(180);
    fast.SetSpeed(1.0f);
    fast.Advance(70);
    slow.Advance(70);
    EXPECT_EQ(fast.GetFrameIndex(), slow.GetFrameIndex());
    EXPECT_EQ(fast.GetFrameIndex(), 2u);
}

TEST_F(AnimationPlayerTest, AnUnknownAnimationOrABadSpeedIsReportedAndTheFrameStays)
{
    AnimationPlayer player(sSheet);
    player.Play("loop");
    player.Advance(40);
    ErrorCapture errors;
    EXPECT_FALSE(player.Play("run"));
    EXPECT_NE(errors.Last().find("no animation \"run\""), std::string::npos) << errors.Last();
    EXPECT_EQ(player.GetAnimationName(), "loop");
    EXPECT_EQ(player.GetFrameIndex(), 1u);
    player.SetSpeed(-1.0f);
    player.SetSpeed(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(errors.messages.size(), 3u);
    EXPECT_FLOAT_EQ(player.GetSpeed(), 1.0f);
}

TEST_F(AnimationPlayerTest, ASpeedOfZeroPausesAndAPlayerWithoutAnimationShowsTheFirstFrame)
{
    AnimationPlayer player(sSheet);
    player.Advance(1000);
    EXPECT_EQ(player.GetFrameIndex(), 0u);
    player.Play("loop");
    player.SetSpeed(0.0f);
    player.Advance(1000);
    EXPECT_EQ(player.GetFrameIndex(), 0u);
}

} // namespace
