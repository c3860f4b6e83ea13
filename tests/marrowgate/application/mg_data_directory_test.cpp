#include "marrowgate/application/mg_data_directory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using Marrowgate::Application::ChangeToDataDirectory;
using Marrowgate::Application::DataDirectorySearch;
using Marrowgate::Application::FindDataDirectory;
using Marrowgate::Application::ListDataDirectoryCandidates;

const std::vector<fs::path> kMarkers{"audio/events.json", "shaders/object.vert"};

class DataDirectoryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/quorvane-data-directory-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
        fs::create_directories(root / "without");
        // A home folder's unrelated "data".
        fs::create_directories(root / "unrelated" / "data" / "shaders");
        Touch(root / "unrelated" / "data" / "shaders" / "other.vert");
        // A file named "data" is not a data folder.
        Touch(root / "file" / "data");
        Touch(root / "game" / "data" / "audio" / "events.json");
        Touch(root / "game" / "data" / "shaders" / "object.vert");
        Touch(root / "installed" / "data" / "audio" / "events.json");
        Touch(root / "installed" / "data" / "shaders" / "object.vert");
    }
    void TearDown() override { fs::remove_all(root); }

    static void Touch(const fs::path& path)
    {
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "x";
    }

    DataDirectorySearch Search() const
    {
        DataDirectorySearch search;
        search.markers = kMarkers;
        search.programName = "quorvane";
        search.installedDirectory = root / "installed";
        search.buildDirectory = root / "build" / "bin";
        search.sourceDirectory = root / "source";
        return search;
    }

    fs::path root;
};

TEST_F(DataDirectoryTest, AFolderWithoutTheGamesFilesIsPassedOver)
{
    EXPECT_EQ(
        FindDataDirectory({root / "without", root / "file", root / "unrelated", root / "game"}, kMarkers),
        root / "game");
    EXPECT_FALSE(
        FindDataDirectory({root / "without", root / "file", root / "unrelated"}, kMarkers).has_value());
}

TEST_F(DataDirectoryTest, AFolderHoldingSomeOfTheGamesFilesIsTheGamesEvenWhenDamaged)
{
    fs::remove(root / "game" / "data" / "audio" / "events.json");
    EXPECT_EQ(FindDataDirectory({root / "game", root / "installed"}, kMarkers), root / "game");
    // A marker replaced by a folder still says whose data this is; loading it reports the fault.
    fs::remove(root / "game" / "data" / "shaders" / "object.vert");
    fs::create_directories(root / "game" / "data" / "shaders" / "object.vert");
    EXPECT_EQ(FindDataDirectory({root / "game", root / "installed"}, kMarkers), root / "game");
}

TEST_F(DataDirectoryTest, OnlyAnExecutableInItsBuildFolderUsesTheSourceTree)
{
    fs::create_directories(root / "build" / "bin");
    const fs::path working = root / "without";
    // The system names folders with a trailing separator; that is the same folder.
    EXPECT_EQ(ListDataDirectoryCandidates(Search(), working, root / "build" / "bin/"),
              (std::vector<fs::path>{working, root / "build" / "bin/", root / "source",
                                     root / "build" / "share" / "quorvane", root / "installed"}));
    fs::create_directories(root / "prefix" / "bin");
    EXPECT_EQ(ListDataDirectoryCandidates(Search(), working, root / "prefix" / "bin"),
              (std::vector<fs::path>{working, root / "prefix" / "bin", root / "prefix" / "share" / "quorvane",
                                     root / "installed"}));
    // An executable whose folder the system cannot name gets neither.
    EXPECT_EQ(ListDataDirectoryCandidates(Search(), working, fs::path()),
              (std::vector<fs::path>{working, root / "installed"}));
}

TEST_F(DataDirectoryTest, FindingNothingSaysWhatWasLookedForAndWhereAndFails)
{
    DataDirectorySearch search = Search();
    search.installedDirectory = root / "nowhere";
    EXPECT_EXIT(
        {
            fs::current_path(root / "unrelated");
            std::exit(ChangeToDataDirectory(search) ? 0 : 3);
        },
        ::testing::ExitedWithCode(3),
        "data/audio/events.json or data/shaders/object.vert; looked in:\n  [^\n]*unrelated\n(.*\n)*  "
        "[^\n]*nowhere\n");
}

TEST_F(DataDirectoryTest, FindingTheInstalledFolderMakesItTheWorkingDirectory)
{
    const DataDirectorySearch search = Search();
    EXPECT_EXIT(
        {
            fs::current_path(root / "unrelated");
            const bool found = ChangeToDataDirectory(search);
            std::exit(found && fs::current_path() == root / "installed" ? 0 : 3);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
