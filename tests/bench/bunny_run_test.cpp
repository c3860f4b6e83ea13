// The parts of the bunnies benchmark that decide what is compared: the field must keep every
// bunny inside the window and keep the screen evenly busy, the meter must count exactly the
// frames asked for, and a bad command line must be refused rather than run a different test.
#include "bunny_field.h"
#include "bunny_run.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

using namespace QuorvaneBench;

TEST(BunnyField, KeepsEveryBunnyInsideTheWindowAndKeepsThemSpreadOverIt)
{
    BunnyField field(2000);
    for (int step = 0; step < 3000; ++step) {
        field.Step();
    }
    int inUpperHalf = 0;
    for (const Bunny& bunny : field.GetBunnies()) {
        ASSERT_GE(bunny.x, 0.0f);
        ASSERT_LE(bunny.x, kWindowWidth - kBunnySize);
        ASSERT_GE(bunny.y, 0.0f);
        ASSERT_LE(bunny.y, kWindowHeight - kBunnySize);
        inUpperHalf += bunny.y < kWindowHeight / 2.0f ? 1 : 0;
    }
    // A floor that loses energy would leave them all in a heap at the bottom after a minute.
    EXPECT_GT(inUpperHalf, 2000 / 5);
}

TEST(BunnyField, ANonPositiveCountGivesAnEmptyField)
{
    EXPECT_TRUE(BunnyField(0).GetBunnies().empty());
    EXPECT_TRUE(BunnyField(-5).GetBunnies().empty());
}

TEST(FrameMeter, MeasuresExactlyTheFramesAskedForAfterTheWarmUp)
{
    FrameMeter meter(3, 5);
    int passes = 0;
    while (meter.MarkFrame()) {
        ++passes;
        ASSERT_LT(passes, 100);
    }
    // One mark starts the clock, three frames warm up, five are measured.
    EXPECT_EQ(passes, 1 + 3 + 4);
    EXPECT_EQ(meter.GetCosts().wall.size(), 5u);
    EXPECT_EQ(meter.GetCosts().threadCpu.size(), 5u);
}

std::optional<BunnyRunOptions> Parse(std::vector<std::string> words)
{
    words.insert(words.begin(), "bunnies");
    std::vector<char*> arguments;
    for (std::string& word : words) {
        arguments.push_back(word.data());
    }
    return ParseBunnyRunOptions(static_cast<int>(arguments.size()), arguments.data(), "");
}

TEST(BunnyRunOptions, ReadsTheCountFramesAndLeavesOtherFlagsToTheProgram)
{
    const std::optional<BunnyRunOptions> options =
        Parse({"10000", "--frames", "200", "--vertex-array", "--warm-up", "7"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->count, 10000);
    EXPECT_EQ(options->measuredFrames, 200);
    EXPECT_EQ(options->warmUpFrames, 7);
    EXPECT_EQ(options->flags, std::vector<std::string>{"--vertex-array"});
}

TEST(BunnyRunOptions, RefusesMissingOrMalformedNumbers)
{
    testing::internal::CaptureStderr();
    for (const std::vector<std::string>& words :
         std::vector<std::vector<std::string>>{{},
                                               {"0"},
                                               {"-10"},
                                               {"10k"},
                                               {"99999999999"},
                                               {"10", "--frames"},
                                               {"10", "--frames", "0"},
                                               {"10", "--warm-up", "x"}}) {
        EXPECT_FALSE(Parse(words)) << testing::PrintToString(words);
    }
    EXPECT_NE(testing::internal::GetCapturedStderr().find("usage:"), std::string::npos);
}

} // namespace
