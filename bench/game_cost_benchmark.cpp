// What the game costs on a real window: CPU time per frame of play beside a frame that only
// clears and swaps on the same window, the time from process start to the first drawn frame
// beside two minimal SDL programs (one that only clears, one that also draws a textured quad
// with one small shader), and peak resident memory. Prints Markdown tables.
//
// Run it on a display with vertical sync off (Xvfb has no vertical blank):
//   xvfb-run -a -s "-screen 0 1920x1080x24" build/<dir>/bench/game_cost_benchmark
// With --full-screen it measures only frames of play, with the game switched to full screen
// (as F11 does) over the whole display, and prints that one row.
//
// Frames: the game runs in this process on the driven platform, one fixed frame time (1/60 s)
// per pass of its loop; a frame is measured from the start of one pass to the start of the
// next, so it includes events, steps, drawing and the buffer swap. CPU time is the whole
// process's (the software rasteriser renders on worker threads), beside the main thread's and
// the wall-clock time. Start-up: the real quorvane program and minimal_gl_window run with
// first_frame_probe preloaded, which stops each at its first drawn frame; the clock starts
// just before the fork. This is not a Google Benchmark program: the game's loop owns the
// control flow, and the figures are distributions over frames and processes, not a timed loop.
#include "driven_platform.h"
#include "frame_statistics.h"
#include "game_session.h"

#include "marrowgate/game/mg_game_application.h"
#include "marrowgate/graphics/mg_screen.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

using QuorvaneBench::FrameCosts;
using QuorvaneBench::Instant;
using QuorvaneBench::Median;
using QuorvaneBench::Percentile;
using QuorvaneBench::ReadClock;

constexpr double kSecondsPerFrame = 1.0 / 60.0;
constexpr int kWarmUpFrames = 60;
constexpr int kMeasuredFrames = 1000;
constexpr int kStartUpRuns = 7;

// Clear and swap only, on the game's window, before the game has loaded anything.
FrameCosts MeasureEmptyFrames(mgImplementation::PlatformInterface& platform)
{
    FrameCosts costs;
    for (int frame = 0; frame < kWarmUpFrames + kMeasuredFrames; ++frame) {
        const Instant start;
        platform.ClearFrame(0.0f, 0.0f, 0.0f, 0.0f);
        platform.SwapBuffers();
        if (frame >= kWarmUpFrames) {
            costs.Add(start, Instant());
        }
    }
    return costs;
}

// Plays with Up held and the car turning now one way, now the other, so that the chip, the
// grid, the heading line and both texts are all drawn.
class PlayMeter
{
public:
    PlayMeter(QuorvaneReliability::DrivenPlatform& platform, bool isFullScreen)
        : mPlatform(platform), mIsFullScreen(isFullScreen)
    {}

    void OnPass()
    {
        Marrowgate::Game::GameScene* current = Marrowgate::Game::GameApplication::GetCurrentScene();
        if (current == nullptr || current != SceneManager::GetScene(kGameplayScene)) {
            return;
        }
        const Instant now;
        if (mFramesOfPlay == 0) {
            mPlatform.PressKey(Marrowgate::Application::KeyUp);
            if (mIsFullScreen) {
                mPlatform.ToggleFullScreen(); // well before the warm-up ends
            }
        }
        if (mFramesOfPlay % 120 == 0) {
            const bool left = (mFramesOfPlay / 120) % 2 == 0;
            mPlatform.ReleaseKey(left ? Marrowgate::Application::KeyRight : Marrowgate::Application::KeyLeft);
            mPlatform.PressKey(left ? Marrowgate::Application::KeyLeft : Marrowgate::Application::KeyRight);
        }
        if (mFramesOfPlay > kWarmUpFrames) {
            costs.Add(mPrevious, now);
            measuredWidth = Marrowgate::Graphics::ScreenWidth();
            measuredHeight = Marrowgate::Graphics::ScreenHeight();
        }
        mPrevious = now;
        if (++mFramesOfPlay > kWarmUpFrames + kMeasuredFrames) {
            mPlatform.RequestClose();
        }
    }

    FrameCosts costs;
    // The drawable's size during the measured frames.
    int measuredWidth = 0;
    int measuredHeight = 0;

private:
    QuorvaneReliability::DrivenPlatform& mPlatform;
    bool mIsFullScreen;
    Instant mPrevious;
    int mFramesOfPlay = 0;
};

struct StartUp
{
    double milliseconds = 0.0;
    long peakResidentKiB = 0;
    long long cpuMicroseconds = 0;
};

// Runs a program, with at most one argument, with the probe preloaded until its first drawn frame.
std::optional<StartUp> MeasureStartUp(const std::string& program, const char* argument)
{
    const std::filesystem::path probeFile =
        std::filesystem::temp_directory_path() / ("quorvane-first-frame-" + std::to_string(getpid()));
    std::filesystem::remove(probeFile);
    const double start = ReadClock(CLOCK_MONOTONIC);
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        setenv("LD_PRELOAD", QUORVANE_FIRST_FRAME_PROBE, 1);
        setenv("QUORVANE_PROBE_FILE", probeFile.c_str(), 1);
        execl(program.c_str(), program.c_str(), argument, static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    std::ifstream file(probeFile);
    long long nanoseconds = 0;
    StartUp result;
    if (!(file >> nanoseconds >> result.peakResidentKiB >> result.cpuMicroseconds) || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "game_cost_benchmark: %s %s did not reach its first frame\n", program.c_str(),
                     argument != nullptr ? argument : "");
        return std::nullopt;
    }
    std::filesystem::remove(probeFile);
    result.milliseconds = (static_cast<double>(nanoseconds) * 1e-9 - start) * 1000.0;
    return result;
}

struct StartUpSeries
{
    std::vector<double> milliseconds;
    std::vector<double> cpuMilliseconds;
    std::vector<double> peakResidentMiB;

    void Add(const StartUp& run)
    {
        milliseconds.push_back(run.milliseconds);
        cpuMilliseconds.push_back(static_cast<double>(run.cpuMicroseconds) / 1000.0);
        peakResidentMiB.push_back(static_cast<double>(run.peakResidentKiB) / 1024.0);
    }
};

void PrintStartUpRow(const char* name, const StartUpSeries& series)
{
    std::printf("| %s | %.1f | %.1f | %.1f | %.1f |\n", name, Median(series.milliseconds),
                Percentile(series.milliseconds, 0.0), Median(series.cpuMilliseconds),
                Median(series.peakResidentMiB));
}

void PrintFrameRow(const char* name, const FrameCosts& costs)
{
    std::printf("| %s | %.3f | %.3f | %.3f | %.3f | %.3f |\n", name, Median(costs.processCpu),
                Percentile(costs.processCpu, 0.99), Median(costs.threadCpu),
                Percentile(costs.threadCpu, 0.99), Median(costs.wall));
}

} // namespace

// Frames of play only, in full screen.
int MeasureFullScreenPlay()
{
    std::filesystem::current_path(QUORVANE_SOURCE_DIR);
    QuorvaneReliability::DrivenPlatformScope scope(kSecondsPerFrame);
    PlayMeter play(scope.GetPlatform(), true);
    scope.GetPlatform().SetPassCallback([&play] { play.OnPass(); });
    QuorvaneReliability::RunGameSession({kGameplayScene, false, {}});
    std::printf(
        "| frame (%d measured) | CPU median ms | CPU p99 ms | main thread median ms | main thread p99 "
        "ms | wall median ms |\n|---|---|---|---|---|---|\n",
        kMeasuredFrames);
    const std::string name = "gameplay, full screen " + std::to_string(play.measuredWidth) + "x" +
                             std::to_string(play.measuredHeight);
    PrintFrameRow(name.c_str(), play.costs);
    return EXIT_SUCCESS;
}

int main(int argumentCount, char** arguments)
{
    if (std::getenv("DISPLAY") == nullptr) {
        std::fprintf(stderr, "game_cost_benchmark: needs a display; run it under xvfb-run\n");
        return EXIT_FAILURE;
    }
    if (argumentCount == 2 && std::string(arguments[1]) == "--full-screen") {
        return MeasureFullScreenPlay();
    }
    // Start-up first, in fresh processes, in turn so that all three see the same machine load.
    StartUpSeries game;
    StartUpSeries minimal;
    StartUpSeries texturedQuad;
    struct Program
    {
        const char* path;
        const char* argument;
        StartUpSeries* series;
    };
    std::filesystem::current_path(QUORVANE_SOURCE_DIR);
    for (int run = 0; run < kStartUpRuns; ++run) {
        for (const Program& program :
             {Program{QUORVANE_GAME_BINARY, nullptr, &game},
              Program{QUORVANE_MINIMAL_WINDOW_BINARY, nullptr, &minimal},
              Program{QUORVANE_MINIMAL_WINDOW_BINARY, "--textured-quad", &texturedQuad}}) {
            if (const std::optional<StartUp> measured = MeasureStartUp(program.path, program.argument)) {
                program.series->Add(*measured);
            }
        }
    }

    FrameCosts empty;
    FrameCosts gameplay;
    {
        QuorvaneReliability::DrivenPlatformScope scope(kSecondsPerFrame);
        PlayMeter play(scope.GetPlatform(), false);
        scope.GetPlatform().SetPassCallback([&play] { play.OnPass(); });
        QuorvaneReliability::RunGameSession(
            {kGameplayScene, false, [&empty, &scope] { empty = MeasureEmptyFrames(scope.GetPlatform()); }});
        gameplay = play.costs;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);

    std::printf(
        "| frame (%d measured) | CPU median ms | CPU p99 ms | main thread median ms | main thread p99 ms | "
        "wall median ms |\n|---|---|---|---|---|---|\n",
        kMeasuredFrames);
    PrintFrameRow("empty (clear and swap)", empty);
    PrintFrameRow("gameplay", gameplay);
    std::printf("\ngameplay / empty, CPU median: %.2f (target at most 2)\n\n",
                Median(gameplay.processCpu) / Median(empty.processCpu));

    std::printf("| start-up to first drawn frame (%d runs) | median ms | fastest ms | CPU median ms | "
                "peak resident MiB |\n|---|---|---|---|---|\n",
                kStartUpRuns);
    PrintStartUpRow("minimal SDL window with a GL context (clear only)", minimal);
    PrintStartUpRow("minimal, plus one small shader and one textured quad", texturedQuad);
    PrintStartUpRow("quorvane", game);
    std::printf("\nquorvane / minimal with a textured quad, median: %.2f (target at most 1.5); CPU median: "
                "%.2f\nquorvane / minimal clear only, median: %.2f; CPU median: %.2f\n\n",
                Median(game.milliseconds) / Median(texturedQuad.milliseconds),
                Median(game.cpuMilliseconds) / Median(texturedQuad.cpuMilliseconds),
                Median(game.milliseconds) / Median(minimal.milliseconds),
                Median(game.cpuMilliseconds) / Median(minimal.cpuMilliseconds));
    std::printf("peak resident memory of the game after %d frames of play: %.1f MiB\n",
                kWarmUpFrames + kMeasuredFrames, static_cast<double>(usage.ru_maxrss) / 1024.0);
    return EXIT_SUCCESS;
}
