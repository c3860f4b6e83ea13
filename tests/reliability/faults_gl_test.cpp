// The real game program under faults: audio devices present or not, the two fallback OpenGL
// set-ups, each kind of data file missing, corrupt or replaced by a FIFO, a directory or a giant
// sparse file, and the display going away. A fault must end in the clear report (the error box's
// text on stderr) and exit status 1, or in the sound behaviour described with each test; no run
// may hang.
#include "game_process.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

namespace {

using QuorvaneReliability::DataCopy;
using QuorvaneReliability::Driving;
using QuorvaneReliability::GameOutcome;
using QuorvaneReliability::GameRun;
using QuorvaneReliability::RunGameProgram;

constexpr char kErrorCaption[] = "Error Condition Triggered";
constexpr char kNoAudioReport[] = "no audio device";

std::size_t Occurrences(const std::string& text, const std::string& fragment)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(fragment); at != std::string::npos; at = text.find(fragment, at + 1)) {
        ++count;
    }
    return count;
}

std::string LastLine(std::string text)
{
    while (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    const std::size_t lineBreak = text.rfind('\n');
    return lineBreak == std::string::npos ? text : text.substr(lineBreak + 1);
}

void ExpectCleanPlay(const GameOutcome& outcome)
{
    EXPECT_FALSE(outcome.timedOut) << outcome.Describe();
    EXPECT_TRUE(outcome.playSeen) << outcome.Describe();
    EXPECT_TRUE(outcome.exitedNormally && outcome.exitCode == 0) << outcome.Describe();
    EXPECT_EQ(outcome.errorOutput.find(kErrorCaption), std::string::npos) << outcome.Describe();
}

// The report went through the error facility while the game application was up, its text named
// the culprit, and the program then ended by itself with exit status 1: not an abort, which
// reads as a crash ("terminate called", a core dump).
void ExpectReportAndFailingExit(const GameOutcome& outcome, const std::string& culprit)
{
    EXPECT_FALSE(outcome.timedOut) << outcome.Describe();
    EXPECT_NE(outcome.errorOutput.find(kErrorCaption), std::string::npos) << outcome.Describe();
    EXPECT_NE(outcome.errorOutput.find(culprit), std::string::npos) << outcome.Describe();
    EXPECT_TRUE(outcome.exitedNormally && outcome.exitCode == 1) << outcome.Describe();
    EXPECT_EQ(outcome.errorOutput.find("terminate called"), std::string::npos) << outcome.Describe();
    EXPECT_FALSE(outcome.playSeen) << outcome.Describe();
}

GameOutcome Play(const DataCopy& data, std::map<std::string, std::string> environment = {})
{
    GameRun run;
    run.workingDirectory = data.GetRoot();
    run.environment = std::move(environment);
    run.driving = Driving::kPlayThenQuit;
    return RunGameProgram(run);
}

std::string ReadBytes(const std::filesystem::path& path, std::size_t count)
{
    std::ifstream file(path, std::ios::binary);
    std::string bytes(std::istreambuf_iterator<char>(file), {});
    return bytes.substr(0, count);
}

TEST(GameWithoutAudioDevice, PlaysSilentlyAfterOneReport)
{
    const DataCopy data;
    // No back-end by that name exists, so OpenAL Soft opens no device, as on a machine without sound.
    const GameOutcome outcome = Play(data, {{"ALSOFT_DRIVERS", "no-such-backend"}});
    ExpectCleanPlay(outcome);
    EXPECT_EQ(Occurrences(outcome.errorOutput, kNoAudioReport), 1u) << outcome.Describe();
}

TEST(GameWithAudioDevice, PlaysWithoutAnyReport)
{
    const DataCopy data;
    const GameOutcome outcome = Play(data, {{"ALSOFT_DRIVERS", "null"}});
    ExpectCleanPlay(outcome);
    EXPECT_EQ(Occurrences(outcome.errorOutput, kNoAudioReport), 0u) << outcome.Describe();
}

TEST(GameOnOlderOpenGL, PlaysOnAnEmbeddedProfileWhenNoVersion3ContextExists)
{
    const DataCopy data;
    const GameOutcome outcome = Play(data, {{"MESA_GL_VERSION_OVERRIDE", "2.1"}, {"ALSOFT_DRIVERS", "null"}});
    ExpectCleanPlay(outcome);
    EXPECT_NE(outcome.errorOutput.find("renderer set-up: embedded shaders"), std::string::npos)
        << outcome.Describe();
}

TEST(GameOnOlderOpenGL, PlaysWithFixedFunctionsWhenNoVersionedContextExists)
{
    const DataCopy data;
    const GameOutcome outcome = Play(data, {{"MESA_GL_VERSION_OVERRIDE", "3.1"},
                                            {"MESA_GLES_VERSION_OVERRIDE", "1.1"},
                                            {"ALSOFT_DRIVERS", "null"}});
    ExpectCleanPlay(outcome);
    EXPECT_NE(outcome.errorOutput.find("renderer set-up: fixed-function"), std::string::npos)
        << outcome.Describe();
}

struct BrokenFile
{
    const char* name;
    const char* path;
    // Empty: the file is removed. Otherwise a function of the original bytes gives the new ones.
    std::string (*corrupt)(const std::string& original);
    // What the report must say: the file's name where the report names it (missing files,
    // images, the event table), else the reader's complaint.
    const char* culprit;
};

// CTest lists each case by this instead of the bytes of the record.
void PrintTo(const BrokenFile& broken, std::ostream* out)
{
    *out << broken.path;
}

std::string PrintName(const testing::TestParamInfo<BrokenFile>& info)
{
    return info.param.name;
}

class GameWithBrokenData : public testing::TestWithParam<BrokenFile>
{
};

TEST_P(GameWithBrokenData, ReportsAndExitsWithStatusOne)
{
    const BrokenFile& broken = GetParam();
    const DataCopy data;
    if (broken.corrupt == nullptr) {
        data.Remove(broken.path);
    } else {
        data.Write(broken.path, broken.corrupt(ReadBytes(data.Path(broken.path), std::string::npos)));
    }
    // A device, so that sounds are really read.
    ExpectReportAndFailingExit(Play(data, {{"ALSOFT_DRIVERS", "null"}}), broken.culprit);
}

INSTANTIATE_TEST_SUITE_P(
    MissingFiles, GameWithBrokenData,
    testing::Values(BrokenFile{"CarMesh", "data/mesh/car.msh", nullptr, "car.msh"},
                    BrokenFile{"ChipMesh", "data/mesh/quor.msh", nullptr, "quor.msh"},
                    BrokenFile{"ObjectVertexShader", "data/shaders/basic_object_shader.vert", nullptr,
                               "basic_object_shader.vert"},
                    BrokenFile{"LineFragmentShader", "data/shaders/visualizer_shader.frag", nullptr,
                               "visualizer_shader.frag"},
                    BrokenFile{"SplashLogo", "data/wrenfold_logo_512.png", nullptr, "wrenfold_logo_512.png"},
                    BrokenFile{"EventTable", "data/audio/audio_events.json", nullptr, "audio_events.json"},
                    BrokenFile{"NamedSound", "data/audio/car_reset.wav", nullptr, "car_reset.wav"}),
    PrintName);

INSTANTIATE_TEST_SUITE_P(
    CorruptFiles, GameWithBrokenData,
    testing::Values(
        BrokenFile{"TruncatedMesh", "data/mesh/car.msh",
                   [](const std::string& bytes) { return bytes.substr(0, 100); }, "Binary mesh claims"},
        // A vertex count near 2^31 must be refused before anything is allocated for it.
        BrokenFile{"MeshWithHugeCount", "data/mesh/quor.msh",
                   [](const std::string& bytes) {
                       return bytes.substr(0, 8) + "\xff\xff\xff\x7f" + bytes.substr(12);
                   },
                   "Binary mesh claims 2147483647 indices"},
        BrokenFile{"ShaderThatDoesNotCompile", "data/shaders/basic_object_shader.frag",
                   [](const std::string&) { return std::string("void main() { this is not a shader }\n"); },
                   "Failed to compile fragment shader"},
        BrokenFile{"LogoThatIsNoImage", "data/wrenfold_logo_512.png",
                   [](const std::string&) { return std::string("definitely not an image"); },
                   "wrenfold_logo_512.png"},
        BrokenFile{"TruncatedLogo", "data/wrenfold_logo_512.png",
                   [](const std::string& bytes) { return bytes.substr(0, 300); }, "wrenfold_logo_512.png"},
        BrokenFile{"TruncatedEventTable", "data/audio/audio_events.json",
                   [](const std::string& bytes) { return bytes.substr(0, bytes.size() / 2); },
                   "audio_events.json"},
        BrokenFile{"SoundThatIsNoWave", "data/audio/car_reset.wav",
                   [](const std::string& bytes) { return bytes.substr(0, 12) + std::string(64, '\x7f'); },
                   "wave file"}),
    PrintName);

// Something other than a readable file of a sane size where a data file should be.
enum class SpecialFile
{
    kFifo,
    kDirectory,
    kSparseGiant,
};

struct SpecialDataFile
{
    const char* path;
    SpecialFile kind;
};

std::string SpecialName(const testing::TestParamInfo<SpecialDataFile>& info)
{
    std::string name = std::filesystem::path(info.param.path).filename().string();
    std::replace_if(
        name.begin(), name.end(), [](char character) { return !std::isalnum(character); }, '_');
    constexpr const char* kKinds[] = {"Fifo", "Directory", "SparseGiant"};
    return kKinds[static_cast<int>(info.param.kind)] + std::string("_") + name;
}

void PrintTo(const SpecialDataFile& special, std::ostream* out)
{
    *out << special.path;
}

class GameWithSpecialDataFile : public testing::TestWithParam<SpecialDataFile>
{
};

// Nothing ever writes to the FIFO, a directory opens for reading, and the sparse file claims far
// more than any kind of data file may hold: each must be refused at once, by name, without
// waiting and without reading it into memory.
TEST_P(GameWithSpecialDataFile, IsRefusedQuicklyByNameWithoutGrowingMemory)
{
    const SpecialDataFile& special = GetParam();
    const DataCopy data;
    const std::filesystem::path path = data.Path(special.path);
    data.Remove(special.path);
    switch (special.kind) {
    case SpecialFile::kFifo:
        ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
        break;
    case SpecialFile::kDirectory:
        std::filesystem::create_directory(path);
        break;
    case SpecialFile::kSparseGiant:
        std::ofstream(path, std::ios::binary).put('M');
        std::filesystem::resize_file(path, std::uintmax_t{3} << 29); // 1.5 GiB, no blocks on disk
        break;
    }
    GameRun run;
    run.workingDirectory = data.GetRoot();
    run.environment = {{"ALSOFT_DRIVERS", "null"}};
    // Towards play, where the meshes are read. A run that waits on the file times out.
    run.driving = Driving::kPlayThenQuit;
    run.timeoutSeconds = 40.0;
    const GameOutcome outcome = RunGameProgram(run);
    ExpectReportAndFailingExit(outcome, std::string("File: \"") + special.path + "\"");
    EXPECT_GT(outcome.peakResidentMiB, 0.0) << outcome.Describe();
    EXPECT_LT(outcome.peakResidentMiB, 300.0) << outcome.Describe();
}

std::vector<SpecialDataFile> EveryKindOfDataFileAsEverySpecialFile()
{
    // One file of each kind the game reads.
    constexpr const char* kPaths[] = {"data/mesh/car.msh", "data/shaders/basic_object_shader.vert",
                                      "data/wrenfold_logo_512.png", "data/audio/audio_events.json",
                                      "data/audio/engine_loop.wav"};
    std::vector<SpecialDataFile> cases;
    for (const char* path : kPaths) {
        for (const SpecialFile kind :
             {SpecialFile::kFifo, SpecialFile::kDirectory, SpecialFile::kSparseGiant}) {
            cases.push_back({path, kind});
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(SpecialFiles, GameWithSpecialDataFile,
                         testing::ValuesIn(EveryKindOfDataFileAsEverySpecialFile()), SpecialName);

TEST(GameOutOfMemory, EndsWithOneLineSayingSoAndExitStatusOne)
{
    const DataCopy data;
    GameRun run;
    run.workingDirectory = data.GetRoot();
    // Memory runs out in the driver's shader compiler or in the image decoder, depending on the
    // run; a fixed number of rasteriser threads keeps the driver's share alike on any machine.
    // Multisampling, which a software rasteriser otherwise goes without, makes the game need more
    // than the limit below.
    run.environment = {
        {"ALSOFT_DRIVERS", "null"}, {"LP_NUM_THREADS", "2"}, {"MARROWGATE_MULTISAMPLING", "1"}};
    run.driving = Driving::kPlayThenQuit;
    run.addressSpaceBytes = std::uint64_t{600} << 20; // ulimit -v 614400
    // Whether the limit is reached at all varies: the C library gives threads arenas of their own
    // only while address space is left, and falls back to sharing one without failing, so a run
    // that started its threads late fits. Such a run plays and quits normally and shows nothing
    // about running out; the next run is tried instead.
    GameOutcome outcome;
    for (int attempt = 0; attempt < 4; ++attempt) {
        outcome = RunGameProgram(run);
        if (!(outcome.exitedNormally && outcome.exitCode == 0 && outcome.playSeen)) {
            break;
        }
    }
    if (outcome.exitedNormally && outcome.exitCode == 0 && outcome.playSeen) {
        GTEST_SKIP() << "memory did not run out under the limit in four runs: " << outcome.Describe();
    }
    EXPECT_FALSE(outcome.timedOut) << outcome.Describe();
    EXPECT_TRUE(outcome.exitedNormally && outcome.exitCode == 1) << outcome.Describe();
    EXPECT_EQ(Occurrences(outcome.errorOutput, "memory ran out"), 1u) << outcome.Describe();
    EXPECT_TRUE(LastLine(outcome.errorOutput).starts_with("quorvane: memory ran out")) << outcome.Describe();
    EXPECT_EQ(outcome.errorOutput.find("terminate called"), std::string::npos) << outcome.Describe();
}

TEST(GameLosingItsDisplay, EndsByItself)
{
    const DataCopy data;
    GameRun run;
    run.workingDirectory = data.GetRoot();
    run.environment = {{"ALSOFT_DRIVERS", "null"}};
    run.driving = Driving::kLoseDisplay;
    const GameOutcome outcome = RunGameProgram(run);
    ASSERT_TRUE(outcome.windowSeen) << outcome.Describe();
    EXPECT_FALSE(outcome.timedOut) << outcome.Describe();
    EXPECT_FALSE(outcome.exitedNormally && outcome.exitCode == 0) << outcome.Describe();
    EXPECT_FALSE(outcome.errorOutput.empty()) << outcome.Describe();
}

} // namespace
