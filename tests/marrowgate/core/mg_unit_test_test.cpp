#include "marrowgate/core/mg_unit_test.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

using Marrowgate::Core::UnitTest::GetRegisteredTestCases;
using Marrowgate::Core::UnitTest::TestCaseInterface;

class ProbeCase : public TestCaseInterface
{
public:
    using TestCaseInterface::TestCaseInterface;
    bool Run() override { return HasPassed(); }
};

std::vector<std::string> RegisteredNames()
{
    std::vector<std::string> names;
    for (const TestCaseInterface* testCase : GetRegisteredTestCases()) {
        names.push_back(testCase->GetName());
    }
    return names;
}

TEST(UnitTestChecks, CheckEqualToleratesEpsilonAndLogsOneLinePerFailure)
{
    ProbeCase probe("probe");
    EXPECT_TRUE(probe.CheckEqual(1.0f, 1.000005f, "close"));
    EXPECT_TRUE(probe.HasPassed());
    EXPECT_FALSE(probe.CheckEqual(1.0f, 1.0001f, "%s differs by %d", "value", 1));
    EXPECT_FALSE(probe.HasPassed());
    EXPECT_EQ(probe.GetFailureLog(), " ---> value differs by 1\n");
    EXPECT_FALSE(probe.CheckEqual(1.0, 1.0001, "double"));
    EXPECT_TRUE(probe.CheckEqual(2.0, 2.000001, "double close"));
    EXPECT_EQ(probe.GetFailureLog(), " ---> value differs by 1\n ---> double\n");
    EXPECT_FALSE(probe.Run());
}

TEST(UnitTestChecks, EmptyFormatFailsWithoutALogLine)
{
    ProbeCase probe("probe");
    // An empty format is the case under test, which the format checks rightly flag.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-security"
    const char* emptyFormat = "";
    probe.ReportFailure(emptyFormat);
#pragma GCC diagnostic pop
    EXPECT_FALSE(probe.HasPassed());
    EXPECT_EQ(probe.GetFailureLog(), "");
    probe.FailIf(false, "never");
    EXPECT_EQ(probe.GetFailureLog(), "");
    probe.FailIf(true, "now %d", 2);
    EXPECT_EQ(probe.GetFailureLog(), " ---> now 2\n");
}

TEST(UnitTestChecks, LongFailureMessagesAreCut)
{
    ProbeCase probe("probe");
    const std::string longText(5000, 'z');
    probe.ReportFailure("%s", longText.c_str());
    EXPECT_EQ(probe.GetFailureLog().size(), std::string(" ---> ").size() + 4095 + 1);
}

TEST(UnitTestRegistry, CasesRegisterInOrderAndLeaveWhenDestroyed)
{
    const std::size_t before = GetRegisteredTestCases().size();
    auto first = std::make_unique<ProbeCase>("first probe");
    ProbeCase second("second probe");
    ProbeCase third("third probe");
    std::vector<std::string> names = RegisteredNames();
    ASSERT_EQ(names.size(), before + 3);
    EXPECT_EQ(names[before], "first probe");
    EXPECT_EQ(names[before + 2], "third probe");
    first.reset();
    names = RegisteredNames();
    ASSERT_EQ(names.size(), before + 2);
    EXPECT_EQ(names[before], "second probe");
    EXPECT_EQ(names[before + 1], "third probe");
}

// LogIf writes into the working directory, so these tests move to a scratch one.
class UnitTestLog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mPrevious = std::filesystem::current_path();
        mScratch =
            std::filesystem::temp_directory_path() / ("mg_unit_test_log_" + std::to_string(::getpid()));
        std::filesystem::create_directories(mScratch);
        std::filesystem::current_path(mScratch);
    }
    void TearDown() override
    {
        std::filesystem::current_path(mPrevious);
        std::filesystem::remove_all(mScratch);
    }

    std::filesystem::path mPrevious;
    std::filesystem::path mScratch;
};

TEST_F(UnitTestLog, FalseConditionWritesNothing)
{
    ProbeCase probe("probe");
    probe.LogIf(false, "/somewhere/source/marrowgate/core/x.cpp", 3, "quiet");
    EXPECT_FALSE(std::filesystem::exists("test_results.txt"));
    EXPECT_TRUE(probe.HasPassed());
}

TEST_F(UnitTestLog, LinesAreAppendedWithTheFileShortenedToMarrowgate)
{
    ProbeCase probe("probe");
    testing::internal::CaptureStdout();
    probe.LogIf(true, "/home/a/marrowgate/source/marrowgate/math/mg_vector.cpp", 12, "value %d", 7);
    probe.LogIf(true, "elsewhere.cpp", 4, "plain");
    const std::string printed = testing::internal::GetCapturedStdout();
    std::ifstream results("test_results.txt");
    std::stringstream written;
    written << results.rdbuf();
    const std::string expected = "marrowgate/math/mg_vector.cpp: 12: value 7\nelsewhere.cpp: 4: plain\n";
    EXPECT_EQ(written.str(), expected);
    EXPECT_EQ(printed, expected);
}

} // namespace
