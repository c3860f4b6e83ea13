#include "game_process.h"

#include "private_display.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>
#include <vector>

namespace QuorvaneReliability {
namespace {

using Clock = std::chrono::steady_clock;

constexpr char kErrorCaption[] = "Error Condition Triggered";
constexpr double kKeyInterval = 0.4;
constexpr double kScreenshotInterval = 1.0;
// Play is on screen when this many pixels have the ground grid's dark green.
constexpr std::size_t kGridPixelsInPlay = 2000;
constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Runs a helper tool on the display; its standard output, empty on failure. Bounded by timeout(1).
std::string RunTool(const std::string& display, const std::string& command)
{
    const std::string line = "DISPLAY=" + display + " timeout 10 " + command + " 2>/dev/null";
    FILE* pipe = popen(line.c_str(), "r");
    if (pipe == nullptr) {
        return {};
    }
    std::string output;
    char buffer[65536];
    std::size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, read);
    }
    pclose(pipe);
    return output;
}

// The first window titled exactly `title`. Read from xwininfo rather than `xdotool search`, which
// cannot read a title stored as UTF-8 (SDL's message boxes store theirs so) and never finds them.
std::string FirstWindow(const std::string& display, const std::string& title)
{
    std::istringstream tree(RunTool(display, "xwininfo -root -tree"));
    const std::string titled = " \"" + title + "\":";
    std::string line;
    while (std::getline(tree, line)) {
        // A window's line reads: 0x600002 "Error Condition Triggered": ()  604x199+338+477  +338+477
        std::istringstream fields(line);
        std::string window;
        fields >> window;
        if (window.starts_with("0x") && line.find(titled) == line.find(' ', line.find(window))) {
            return window;
        }
    }
    return {};
}

void PressKey(const std::string& display, const std::string& window, const std::string& key)
{
    // Without a window manager nothing gives the window the keyboard; focus it for each key.
    RunTool(display, "xdotool windowfocus " + window + " key " + key);
}

std::size_t CountGridPixels(const std::string& display)
{
    const std::string pixels = RunTool(display, "import -window root -depth 8 rgb:-");
    std::size_t count = 0;
    for (std::size_t index = 0; index + 2 < pixels.size(); index += 3) {
        const auto red = static_cast<unsigned char>(pixels[index]);
        const auto green = static_cast<unsigned char>(pixels[index + 1]);
        const auto blue = static_cast<unsigned char>(pixels[index + 2]);
        count += red < 16 && blue < 16 && green >= 32 && green <= 96 ? 1u : 0u;
    }
    return count;
}

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// In the game's process, just before exec.
void SetUpStreams(Streams streams, const std::filesystem::path& outputPath)
{
    // A pipe's writer is killed by a broken pipe unless it says otherwise, whatever the test's own setting.
    signal(SIGPIPE, SIG_DFL);
    int pipeEnds[2] = {-1, -1};
    switch (streams) {
    case Streams::kToFile:
    case Streams::kErrorClosed: {
        const int output = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(output, STDOUT_FILENO);
        dup2(output, STDERR_FILENO);
        close(output);
        if (streams == Streams::kErrorClosed) {
            close(STDERR_FILENO);
        }
        return;
    }
    case Streams::kBothClosed:
        close(STDOUT_FILENO);
        close(STDERR_FILENO);
        return;
    case Streams::kBrokenPipe:
        if (pipe(pipeEnds) == 0) {
            close(pipeEnds[0]);
            dup2(pipeEnds[1], STDOUT_FILENO);
            dup2(pipeEnds[1], STDERR_FILENO);
            close(pipeEnds[1]);
        }
        return;
    }
}

pid_t StartGame(const GameRun& run, const std::string& display, const std::filesystem::path& outputPath)
{
    const std::string program =
        run.program.empty() ? std::string(QUORVANE_GAME_BINARY) : run.program.string();
    const pid_t process = fork();
    if (process != 0) {
        return process;
    }
    // A run that crashes must not leave core files behind.
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    if (run.addressSpaceBytes > 0) {
        const rlimit addressSpace{run.addressSpaceBytes, run.addressSpaceBytes};
        setrlimit(RLIMIT_AS, &addressSpace);
    }
    if (chdir(run.workingDirectory.c_str()) != 0) {
        _exit(126);
    }
    setenv("DISPLAY", display.c_str(), 1);
    for (const auto& [name, value] : run.environment) {
        setenv(name.c_str(), value.c_str(), 1);
    }
    SetUpStreams(run.streams, outputPath);
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
}

// What the outside world does to the running game, called about ten times a second.
class Driver
{
public:
    Driver(const GameRun& run, PrivateDisplay& display, GameOutcome& outcome)
        : mRun(run), mDisplay(display), mOutcome(outcome)
    {}

    void Tick(const std::string& errorOutput);

private:
    bool Due(Clock::time_point& last, double interval)
    {
        if (SecondsSince(last) < interval) {
            return false;
        }
        last = Clock::now();
        return true;
    }
    void DismissErrorBox();
    void Drive();

    const GameRun& mRun;
    PrivateDisplay& mDisplay;
    GameOutcome& mOutcome;
    std::string mWindow;
    Clock::time_point mWindowFound;
    Clock::time_point mPlayFound;
    Clock::time_point mLastKey;
    Clock::time_point mLastScreenshot;
    bool mDisplayStopped = false;
};

void Driver::Tick(const std::string& errorOutput)
{
    if (mDisplayStopped) {
        return;
    }
    if (errorOutput.find(kErrorCaption) != std::string::npos) {
        DismissErrorBox();
        return;
    }
    if (mWindow.empty()) {
        mWindow = FirstWindow(mDisplay.GetName(), "Quorvane");
        mWindowFound = Clock::now();
        mOutcome.windowSeen = !mWindow.empty();
        return;
    }
    Drive();
}

void Driver::DismissErrorBox()
{
    if (!Due(mLastKey, kKeyInterval)) {
        return;
    }
    const std::string box = FirstWindow(mDisplay.GetName(), kErrorCaption);
    if (!box.empty()) {
        PressKey(mDisplay.GetName(), box, "Return");
        mOutcome.errorBoxDismissed = true;
    }
}

void Driver::Drive()
{
    const double sinceWindow = SecondsSince(mWindowFound);
    switch (mRun.driving) {
    case Driving::kLoseDisplay:
        if (sinceWindow > 3.0) {
            mDisplay.Stop();
            mDisplayStopped = true;
        }
        return;
    case Driving::kQuitFromTitle:
        if (Due(mLastKey, kKeyInterval)) {
            PressKey(mDisplay.GetName(), mWindow, "Escape");
        }
        return;
    case Driving::kPlayThenQuit:
        break;
    }
    if (!mOutcome.playSeen && Due(mLastScreenshot, kScreenshotInterval) &&
        CountGridPixels(mDisplay.GetName()) >= kGridPixelsInPlay) {
        mOutcome.playSeen = true;
        mPlayFound = Clock::now();
        RunTool(mDisplay.GetName(), "xdotool windowfocus " + mWindow + " keydown Up");
    }
    // Give up waiting for play after a while, so a game that never gets there still ends.
    const bool quitting = mOutcome.playSeen ? SecondsSince(mPlayFound) > 1.5 : sinceWindow > 40.0;
    if (Due(mLastKey, kKeyInterval)) {
        PressKey(mDisplay.GetName(), mWindow, quitting ? "Escape" : mOutcome.playSeen ? "Left" : "space");
    }
}

} // namespace

std::string GameOutcome::Describe() const
{
    std::ostringstream text;
    text << (timedOut         ? "timed out"
             : exitedNormally ? "exited with " + std::to_string(exitCode)
                              : "killed by signal " + std::to_string(signalNumber))
         << " after " << seconds << " s; window " << (windowSeen ? "seen" : "never seen") << ", play "
         << (playSeen ? "seen" : "not seen") << ", error box "
         << (errorBoxDismissed ? "dismissed" : "not shown") << ", peak memory " << peakResidentMiB
         << " MiB\n--- game output ---\n"
         << errorOutput;
    return text.str();
}

GameOutcome RunGameProgram(const GameRun& run)
{
    GameOutcome outcome;
    PrivateDisplay display(kScreenWidth, kScreenHeight);
    if (display.GetName().empty()) {
        outcome.errorOutput = "Xvfb did not start";
        return outcome;
    }
    // Kept apart from the working folder, which need not be writable ("/").
    char outputPattern[] = "/tmp/quorvane-output-XXXXXX";
    const char* outputFolder = mkdtemp(outputPattern);
    if (outputFolder == nullptr) {
        outcome.errorOutput = "no folder for the game's output";
        return outcome;
    }
    const std::filesystem::path outputPath = std::filesystem::path(outputFolder) / "game-output.txt";
    const Clock::time_point start = Clock::now();
    const pid_t game = StartGame(run, display.GetName(), outputPath);
    Driver driver(run, display, outcome);
    int status = 0;
    rusage usage{};
    while (true) {
        if (wait4(game, &status, WNOHANG, &usage) == game) {
            outcome.peakResidentMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
            break;
        }
        if (SecondsSince(start) > run.timeoutSeconds) {
            outcome.timedOut = true;
            kill(game, SIGKILL);
            waitpid(game, &status, 0);
            break;
        }
        driver.Tick(ReadFile(outputPath));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    outcome.seconds = SecondsSince(start);
    outcome.errorOutput = ReadFile(outputPath);
    std::error_code ignored;
    std::filesystem::remove_all(outputFolder, ignored);
    if (!outcome.timedOut) {
        outcome.exitedNormally = WIFEXITED(status);
        outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        outcome.signalNumber = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    }
    if (std::getenv("QUORVANE_SHOW_GAME_OUTPUT") != nullptr) {
        std::printf("%s\n", outcome.Describe().c_str());
    }
    return outcome;
}

DataCopy::DataCopy()
{
    char pattern[] = "/tmp/quorvane-fault-XXXXXX";
    const char* created = mkdtemp(pattern);
    mRoot = created != nullptr ? created : "";
    std::filesystem::copy(std::filesystem::path(QUORVANE_SOURCE_DIR) / "data", mRoot / "data",
                          std::filesystem::copy_options::recursive);
}

DataCopy::~DataCopy()
{
    std::error_code ignored;
    std::filesystem::remove_all(mRoot, ignored);
}

void DataCopy::Remove(const std::string& relative) const
{
    std::filesystem::remove(Path(relative));
}

void DataCopy::Write(const std::string& relative, const std::string& content) const
{
    std::ofstream file(Path(relative), std::ios::binary | std::ios::trunc);
    file << content;
}

} // namespace QuorvaneReliability
