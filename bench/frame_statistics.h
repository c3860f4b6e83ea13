#pragma once
// Clocks and order statistics shared by the benchmarks that time whole frames: a frame is the
// span between the same point of two passes of a program's loop, read on three clocks.
#include <time.h>

#include <algorithm>
#include <cstddef>
#include <vector>

namespace QuorvaneBench {

inline double ReadClock(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The process's CPU time counts the software rasteriser's worker threads; the main thread's is
// the submission cost they do not share.
struct Instant
{
    double processCpu = ReadClock(CLOCK_PROCESS_CPUTIME_ID);
    double threadCpu = ReadClock(CLOCK_THREAD_CPUTIME_ID);
    double wall = ReadClock(CLOCK_MONOTONIC);
};

// Frame costs in milliseconds, one vector per clock.
struct FrameCosts
{
    std::vector<double> processCpu;
    std::vector<double> threadCpu;
    std::vector<double> wall;

    void Add(const Instant& from, const Instant& to)
    {
        processCpu.push_back((to.processCpu - from.processCpu) * 1000.0);
        threadCpu.push_back((to.threadCpu - from.threadCpu) * 1000.0);
        wall.push_back((to.wall - from.wall) * 1000.0);
    }
};

// Nearest rank; 0 for no values.
inline double Percentile(std::vector<double> values, double fraction)
{
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

inline double Median(const std::vector<double>& values)
{
    return Percentile(values, 0.5);
}

} // namespace QuorvaneBench
