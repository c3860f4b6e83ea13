#include "marrowgate/application/mg_data_directory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Marrowgate::Application::FindDataDirectory;

class DataDirectoryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("quorvane_data_directory_" + std::to_string(::getpid()));
        fs::create_directories(root / "without");
        fs::create_directories(root / "beside" / "data");
        fs::create_directories(root / "installed" / "data");
        // A file named "data" is not a data folder.
        fs::create_directories(root / "file");
        std::ofstream(root / "file" / "data") << "x";
    }
    void TearDown() override { fs::remove_all(root); }
    fs::path root;
};

TEST_F(DataDirectoryTest, TheFirstPlaceWithADataFolderWins)
{
    EXPECT_EQ(FindDataDirectory({root / "without", root / "file", root / "beside", root / "installed"}),
              root / "beside");
    EXPECT_EQ(FindDataDirectory({fs::path(), root / "installed"}), root / "installed");
}

TEST_F(DataDirectoryTest, NoPlaceWithDataGivesNothing)
{
    EXPECT_FALSE(FindDataDirectory({root / "without", root / "file", fs::path()}).has_value());
}

TEST_F(DataDirectoryTest, FindingNothingListsThePlacesTriedAndFails)
{
    EXPECT_EXIT(
        {
            fs::current_path(root / "without");
            std::exit(Marrowgate::Application::ChangeToDataDirectory((root / "nowhere").string()) ? 0 : 3);
        },
        ::testing::ExitedWithCode(3), "no \"data\" folder found.*without.*nowhere");
}

TEST_F(DataDirectoryTest, FindingTheInstalledFolderMakesItTheWorkingDirectory)
{
    EXPECT_EXIT(
        {
            fs::current_path(root / "without");
            const bool found = Marrowgate::Application::ChangeToDataDirectory((root / "installed").string());
            std::exit(found && fs::current_path() == root / "installed" ? 0 : 3);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
