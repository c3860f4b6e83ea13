#include "bunny_run.h"

#include <charconv>
#include <cstdio>
#include <string_view>

namespace QuorvaneBench {

namespace {

bool ParsePositive(std::string_view text, int& value)
{
    int parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (error != std::errc() || end != text.data() + text.size() || parsed <= 0) {
        return false;
    }
    value = parsed;
    return true;
}

} // namespace

std::optional<BunnyRunOptions> ParseBunnyRunOptions(int argumentCount, char** arguments,
                                                    const char* programFlagsUsage)
{
    BunnyRunOptions options;
    bool valid = argumentCount >= 2 && ParsePositive(arguments[1], options.count);
    for (int index = 2; valid && index < argumentCount; ++index) {
        const std::string_view argument = arguments[index];
        if (argument == "--warm-up" || argument == "--frames") {
            int& target = argument == "--warm-up" ? options.warmUpFrames : options.measuredFrames;
            valid = ++index < argumentCount && ParsePositive(arguments[index], target);
        } else {
            options.flags.emplace_back(argument);
        }
    }
    if (!valid) {
        std::fprintf(stderr, "usage: %s COUNT [--warm-up FRAMES] [--frames FRAMES] %s\n",
                     argumentCount > 0 ? arguments[0] : "bunnies", programFlagsUsage);
        return std::nullopt;
    }
    return options;
}

FrameMeter::FrameMeter(int warmUpFrames, int measuredFrames)
    : mWarmUpFrames(warmUpFrames), mMeasuredFrames(measuredFrames)
{}

bool FrameMeter::MarkFrame()
{
    const Instant now;
    // The first mark only starts the clock: the pass before it was the program's set-up.
    if (mMarks > mWarmUpFrames) {
        mCosts.Add(mPrevious, now);
    }
    mPrevious = now;
    ++mMarks;
    return static_cast<int>(mCosts.wall.size()) < mMeasuredFrames;
}

void PrintBunnyRow(const std::string& program, int count, const FrameCosts& costs)
{
    std::printf("| %s | %d | %.2f | %.2f | %.2f | %.2f |\n", program.c_str(), count, Median(costs.wall),
                Percentile(costs.wall, 0.9), Median(costs.threadCpu), Median(costs.processCpu));
    std::fflush(stdout);
}

} // namespace QuorvaneBench
