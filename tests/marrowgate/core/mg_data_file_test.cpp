// Data files: only regular files within their kind's bound are read, nothing blocks, and every
// refusal names the file.
#include "marrowgate/core/mg_data_file.h"

#include "support/error_capture.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace Marrowgate::Core;
using QuorvaneTest::ErrorCapture;

class DataFileTest : public testing::Test
{
protected:
    DataFileTest()
    {
        char pattern[] = "/tmp/mg-data-file-XXXXXX";
        mFolder = mkdtemp(pattern);
    }
    ~DataFileTest() override { std::filesystem::remove_all(mFolder); }

    std::string Write(const std::string& name, const std::string& contents) const
    {
        const std::string path = (mFolder / name).string();
        std::ofstream(path, std::ios::binary) << contents;
        return path;
    }

    std::filesystem::path mFolder;
};

TEST_F(DataFileTest, ReadsARegularFileWholeUpToExactlyItsBound)
{
    ErrorCapture errors;
    const std::string path = Write("ten.txt", "0123456789");
    EXPECT_EQ(ReadDataFile<std::string>(path, 10), "0123456789");
    const auto bytes = ReadDataFile<std::vector<unsigned char>>(Write("empty.txt", ""), 10);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_TRUE(bytes->empty());
    EXPECT_FALSE(errors.Fired());

    EXPECT_FALSE(ReadDataFile<std::string>(path, 9).has_value());
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.Last(),
              "mgDataError: The file holds 10 bytes, more than the 9 bytes a file of its kind may "
              "hold. File: \"" +
                  path + "\"");
}

TEST_F(DataFileTest, ASparseFileOverItsBoundIsRefusedBeforeAnythingIsRead)
{
    const std::string path = Write("huge.msh", "");
    std::filesystem::resize_file(path, 3ull * 1024 * 1024 * 1024);
    ErrorCapture errors;
    const DataFile file(path, kMaximumMeshFileBytes);
    EXPECT_FALSE(file.IsOpen());
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_NE(errors.Last().find("holds 3221225472 bytes"), std::string::npos) << errors.Last();
}

TEST_F(DataFileTest, DirectoriesFifosAndDevicesAreRefusedWithoutBlocking)
{
    const std::string fifo = (mFolder / "pipe").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<std::string, std::string> cases[] = {
        {mFolder.string(), "a directory"}, {fifo, "a FIFO"}, {"/dev/zero", "a character device"}};
    for (const auto& [path, kind] : cases) {
        ErrorCapture errors;
        EXPECT_FALSE(ReadDataFile<std::string>(path, kMaximumSoundFileBytes).has_value()) << path;
        ASSERT_EQ(errors.messages.size(), 1u) << path;
        EXPECT_EQ(errors.Last(),
                  "mgDataError: Expected a regular file, found " + kind + ". File: \"" + path + "\"");
    }
}

TEST_F(DataFileTest, AMissingFileIsReportedWithTheReasonAndItsPath)
{
    ErrorCapture errors;
    const std::string path = (mFolder / "missing.png").string();
    EXPECT_FALSE(DataFile(path, 100).IsOpen());
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.Last(),
              "mgDataError: Could not open the file (No such file or directory). File: \"" + path + "\"");
}

TEST_F(DataFileTest, PiecewiseReadsAndAStreamContinueWhereTheLastReadStopped)
{
    ErrorCapture errors;
    DataFile file(Write("pieces.bin", "headerBODY"), 100);
    ASSERT_TRUE(file.IsOpen());
    EXPECT_EQ(file.GetSize(), 10u);
    std::string header(6, '\0');
    ASSERT_TRUE(file.ReadExactly(std::as_writable_bytes(std::span(header))));
    EXPECT_EQ(header, "header");

    std::FILE* stream = file.ReleaseAsStream();
    ASSERT_NE(stream, nullptr);
    EXPECT_FALSE(file.IsOpen());
    char rest[8] = {};
    EXPECT_EQ(std::fread(rest, 1, sizeof rest, stream), 4u);
    EXPECT_EQ(std::string(rest), "BODY");
    std::fclose(stream);

    // Asking for more than is left reports the early end and gives what was there.
    DataFile again(Write("short.bin", "abc"), 100);
    std::string more(5, '\0');
    EXPECT_FALSE(again.ReadExactly(std::as_writable_bytes(std::span(more))));
    EXPECT_NE(errors.Last().find("ended while it was being read"), std::string::npos);
}

TEST_F(DataFileTest, AReadErrorIsReportedOnceAndClosesTheFile)
{
    // A regular file that cannot be read: the start of this process's address space is unmapped.
    ErrorCapture errors;
    DataFile file("/proc/self/mem", 100);
    ASSERT_TRUE(file.IsOpen());
    std::string bytes(16, '\0');
    EXPECT_FALSE(file.ReadExactly(std::as_writable_bytes(std::span(bytes))));
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.Last(),
              "mgDataError: Reading the file failed (Input/output error). File: \"/proc/self/mem\"");
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.Read(std::as_writable_bytes(std::span(bytes))), 0u);
    EXPECT_EQ(errors.messages.size(), 1u);
}

} // namespace
