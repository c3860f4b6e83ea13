#pragma once
// What every bunnies program shares besides the field: its command line, the frame meter and
// the one Markdown table row it prints. Frame times are taken at the same point of every pass
// of a program's loop, so they include events, moving the bunnies, drawing and the buffer swap.
#include "frame_statistics.h"

#include <optional>
#include <string>
#include <vector>

namespace QuorvaneBench {

struct BunnyRunOptions
{
    int count = 0;
    int warmUpFrames = 30;
    int measuredFrames = 300;
    // Arguments the shared parser does not know, left to the program.
    std::vector<std::string> flags;
};

// usage: <program> COUNT [--warm-up FRAMES] [--frames FRAMES] [program flags]. Prints the usage
// line and returns nothing for a count or frame number that is not a positive whole number.
std::optional<BunnyRunOptions> ParseBunnyRunOptions(int argumentCount, char** arguments,
                                                    const char* programFlagsUsage);

class FrameMeter
{
public:
    FrameMeter(int warmUpFrames, int measuredFrames);

    // Call once per pass at the same point; returns false once every measured frame is in.
    bool MarkFrame();

    const FrameCosts& GetCosts() const { return mCosts; }

private:
    int mWarmUpFrames;
    int mMeasuredFrames;
    int mMarks = 0;
    Instant mPrevious;
    FrameCosts mCosts;
};

// | program | N | median ms | p90 ms | main thread CPU median ms | process CPU median ms |
void PrintBunnyRow(const std::string& program, int count, const FrameCosts& costs);

} // namespace QuorvaneBench
