#pragma once
// Runs the real game program as a player would meet it: on an X display of its own (a private
// Xvfb, so that runs in parallel cannot type into each other's windows), in a working folder
// of the test's choosing, with extra environment, driven from outside with xdotool and watched
// with screenshots, under a hard time limit.
//
// When the game shows its error box (its text also goes to stderr) the box is dismissed with
// Return, as a user would, and the program must then end by itself.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

namespace QuorvaneReliability {

enum class Driving
{
    // Escape until the game ends: the splash skips to its fade-out, the title quits.
    kQuitFromTitle,
    // Space until play is on screen, a second of driving, then Escape until the game ends.
    kPlayThenQuit,
    // No input; the display goes away a few seconds after the window appeared.
    kLoseDisplay,
};

// Where the game's standard output and error go. Only kToFile lets the test read them.
enum class Streams
{
    kToFile,
    // 2>&-
    kErrorClosed,
    // >&- 2>&-
    kBothClosed,
    // 2>&1 | true: a pipe whose reader has already gone.
    kBrokenPipe,
};

struct GameRun
{
    // Empty: the game built in this tree.
    std::filesystem::path program;
    std::filesystem::path workingDirectory;
    Streams streams = Streams::kToFile;
    std::map<std::string, std::string> environment;
    Driving driving = Driving::kQuitFromTitle;
    double timeoutSeconds = 90.0;
    // The game's address space in bytes, as `ulimit -v` sets it; 0 leaves it unlimited.
    std::uint64_t addressSpaceBytes = 0;
};

struct GameOutcome
{
    bool timedOut = false;
    bool exitedNormally = false;
    int exitCode = -1;
    int signalNumber = 0;
    double seconds = 0.0;
    std::string errorOutput;
    bool windowSeen = false;
    bool playSeen = false;
    bool errorBoxDismissed = false;
    // The program's peak resident memory, 0 when it timed out (it is then killed).
    double peakResidentMiB = 0.0;

    std::string Describe() const;
};

GameOutcome RunGameProgram(const GameRun& run);

// A fresh copy of the repository's data/ folder in a new temporary folder; removed with the object.
class DataCopy
{
public:
    DataCopy();
    ~DataCopy();
    DataCopy(const DataCopy&) = delete;
    DataCopy& operator=(const DataCopy&) = delete;

    const std::filesystem::path& GetRoot() const { return mRoot; }
    std::filesystem::path Path(const std::string& relative) const { return mRoot / relative; }
    void Remove(const std::string& relative) const;
    void Write(const std::string& relative, const std::string& content) const;

private:
    std::filesystem::path mRoot;
};

} // namespace QuorvaneReliability
