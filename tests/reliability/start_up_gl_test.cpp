// The real game program in the environments users start it in: from any folder, installed or in
// its build tree; with its standard streams closed or piped into a reader that has gone; without
// a sound card; on a driver too old to draw with. Each run must end by itself, as described.
#include "game_process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using QuorvaneReliability::Driving;
using QuorvaneReliability::GameOutcome;
using QuorvaneReliability::GameRun;
using QuorvaneReliability::RunGameProgram;
using QuorvaneReliability::Streams;

constexpr char kNoAudioLine[] = "Audio: no audio device, the program runs silently";
constexpr char kStartupLinePrefix[] = "marrowgate: video driver ";

// A new empty folder, removed with the object.
class ScratchFolder
{
public:
    ScratchFolder()
    {
        char pattern[] = "/tmp/quorvane-start-up-XXXXXX";
        const char* created = mkdtemp(pattern);
        mRoot = created != nullptr ? created : "";
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        fs::remove_all(mRoot, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const fs::path& GetRoot() const { return mRoot; }

private:
    fs::path mRoot;
};

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

void ExpectCleanPlay(const GameOutcome& outcome)
{
    EXPECT_FALSE(outcome.timedOut) << outcome.Describe();
    EXPECT_TRUE(outcome.playSeen) << outcome.Describe();
    EXPECT_TRUE(outcome.exitedNormally && outcome.exitCode == 0) << outcome.Describe();
}

void ExpectQuitByItsUser(const GameOutcome& outcome)
{
    EXPECT_FALSE(outcome.timedOut) << outcome.Describe();
    EXPECT_TRUE(outcome.windowSeen) << outcome.Describe();
    EXPECT_TRUE(outcome.exitedNormally && outcome.exitCode == 0) << outcome.Describe();
}

// The build installed as a packager installs it.
void Install(const ScratchFolder& prefix)
{
    const std::string install = std::string(QUORVANE_CMAKE_COMMAND) + " --install '" + QUORVANE_BUILD_DIR +
                                "' --prefix '" + prefix.GetRoot().string() + "' > /dev/null";
    ASSERT_EQ(std::system(install.c_str()), 0);
}

TEST(StartedFromAnyFolder, TheInstalledGamePassesOverAnUnrelatedDataFolderAndPlays)
{
    const ScratchFolder prefix;
    ASSERT_NO_FATAL_FAILURE(Install(prefix));
    const ScratchFolder home;
    fs::create_directory(home.GetRoot() / "data");
    GameRun run;
    run.program = prefix.GetRoot() / "bin" / "quorvane";
    run.workingDirectory = home.GetRoot();
    run.environment = {{"ALSOFT_DRIVERS", "null"}};
    run.driving = Driving::kPlayThenQuit;
    ExpectCleanPlay(RunGameProgram(run));
}

TEST(StartedFromAnyFolder, TheBuildTreeGameFindsTheSourceTreesDataFromTheRootFolder)
{
    GameRun run;
    run.workingDirectory = "/";
    run.environment = {{"ALSOFT_DRIVERS", "null"}};
    run.driving = Driving::kPlayThenQuit;
    ExpectCleanPlay(RunGameProgram(run));
}

TEST(StartedFromAnInstall, AMissingDataFileEndsWithTheReportAndExitStatusOne)
{
    const ScratchFolder prefix;
    ASSERT_NO_FATAL_FAILURE(Install(prefix));
    fs::remove(prefix.GetRoot() / "share" / "quorvane" / "data" / "mesh" / "car.msh");
    GameRun run;
    run.program = prefix.GetRoot() / "bin" / "quorvane";
    run.workingDirectory = prefix.GetRoot();
    run.environment = {{"ALSOFT_DRIVERS", "null"}};
    run.driving = Driving::kPlayThenQuit;
    const GameOutcome outcome = RunGameProgram(run);
    EXPECT_FALSE(outcome.timedOut) << outcome.Describe();
    // The error box's text: the report went through the box, whichever key then answered it.
    EXPECT_NE(outcome.errorOutput.find("Error Condition Triggered"), std::string::npos) << outcome.Describe();
    EXPECT_NE(outcome.errorOutput.find("Could not open the file (No such file or directory). File: "
                                       "\"data/mesh/car.msh\""),
              std::string::npos)
        << outcome.Describe();
    EXPECT_TRUE(outcome.exitedNormally && outcome.exitCode == 1) << outcome.Describe();
    EXPECT_EQ(outcome.errorOutput.find("terminate called"), std::string::npos) << outcome.Describe();
}

// Ends from the title: enough for a start-up line's fate, and for one at exit.
GameOutcome RunWithStreams(Streams streams)
{
    GameRun run;
    run.workingDirectory = "/";
    run.streams = streams;
    run.environment = {{"ALSOFT_DRIVERS", "null"}};
    return RunGameProgram(run);
}

TEST(StartedWithoutUsableStreams, ABrokenPipeDoesNotEndTheGame)
{
    ExpectQuitByItsUser(RunWithStreams(Streams::kBrokenPipe));
}

TEST(StartedWithoutUsableStreams, AClosedStandardErrorDoesNotHangTheGame)
{
    ExpectQuitByItsUser(RunWithStreams(Streams::kErrorClosed));
}

TEST(StartedWithoutUsableStreams, ClosedStandardOutputAndErrorDoNotHangTheGame)
{
    ExpectQuitByItsUser(RunWithStreams(Streams::kBothClosed));
}

TEST(StartedWithoutSoundCard, StandardErrorHoldsOneLineAboutAudio)
{
    const ScratchFolder folder;
    // An ALSA set-up that names no device fails as a machine without a sound card does, and
    // makes ALSA and OpenAL Soft want to say so.
    const fs::path alsaConfiguration = folder.GetRoot() / "asound.conf";
    std::ofstream(alsaConfiguration) << "";
    GameRun run;
    run.workingDirectory = folder.GetRoot();
    run.environment = {{"ALSOFT_DRIVERS", "alsa"}, {"ALSA_CONFIG_PATH", alsaConfiguration.string()}};
    const GameOutcome outcome = RunGameProgram(run);
    ExpectQuitByItsUser(outcome);
    const std::vector<std::string> lines = Lines(outcome.errorOutput);
    ASSERT_EQ(lines.size(), 2u) << outcome.Describe();
    EXPECT_EQ(lines[0], kNoAudioLine);
    EXPECT_TRUE(lines[1].starts_with(kStartupLinePrefix)) << lines[1];
}

TEST(StartedWithSoundCard, NamesTheDeviceOnlyWhenAskedTo)
{
    const ScratchFolder folder;
    GameRun run;
    run.workingDirectory = folder.GetRoot();
    run.environment = {{"ALSOFT_DRIVERS", "null"}};
    const GameOutcome quiet = RunGameProgram(run);
    ExpectQuitByItsUser(quiet);
    EXPECT_EQ(quiet.errorOutput.find("Audio device:"), std::string::npos) << quiet.Describe();

    run.environment["MARROWGATE_VERBOSE"] = "1";
    const GameOutcome verbose = RunGameProgram(run);
    ExpectQuitByItsUser(verbose);
    EXPECT_NE(verbose.errorOutput.find("Audio device: "), std::string::npos) << verbose.Describe();
}

TEST(StartedOnADriverTooOldToDrawWith, EndsWithOneLineNamingWhatIsMissing)
{
    GameRun run;
    run.workingDirectory = "/";
    run.environment = {{"MESA_GL_VERSION_OVERRIDE", "1.1"},
                       {"MESA_GLES_VERSION_OVERRIDE", "1.0"},
                       {"ALSOFT_DRIVERS", "null"}};
    const GameOutcome outcome = RunGameProgram(run);
    EXPECT_FALSE(outcome.timedOut) << outcome.Describe();
    EXPECT_TRUE(outcome.exitedNormally && outcome.exitCode != 0) << outcome.Describe();
    const std::vector<std::string> lines = Lines(outcome.errorOutput);
    ASSERT_EQ(lines.size(), 1u) << outcome.Describe();
    EXPECT_TRUE(lines[0].starts_with("marrowgate: no usable OpenGL context")) << lines[0];
    EXPECT_NE(lines[0].find("OpenGL 1.3"), std::string::npos) << lines[0];
}

} // namespace
