// Running out of memory ends the program with one line naming the file being read, if any, and
// exit status 1; every other uncaught exception still ends it the standard way.
#include "marrowgate/core/mg_out_of_memory.h"

#include "marrowgate/core/mg_data_file.h"
#include "marrowgate/core/mg_error.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using Marrowgate::Core::EndProgramWhenMemoryRunsOut;
using Marrowgate::Core::Error::ReportSubject;

// On a thread of its own nothing catches what the body throws, as in a program outside the
// test framework: the exception ends the program before the stack unwinds.
void RunUncaught(std::function<void()> body)
{
    std::thread(std::move(body)).join();
}

// Fails every allocation, as an exhausted heap does.
template <typename Value> struct ExhaustedAllocator
{
    using value_type = Value;
    ExhaustedAllocator() = default;
    template <typename Other> explicit ExhaustedAllocator(const ExhaustedAllocator<Other>&) {}
    Value* allocate(std::size_t) { throw std::bad_alloc(); }
    void deallocate(Value*, std::size_t) {}
    bool operator==(const ExhaustedAllocator&) const = default;
};

class OutOfMemoryDeathTest : public testing::Test
{
protected:
    // Forked, so that the child reads the very file the parent made (nothing here starts a thread).
    OutOfMemoryDeathTest() { GTEST_FLAG_SET(death_test_style, "fast"); }

    // The program's name as the line gives it.
    static std::string Program() { return program_invocation_short_name; }
};

TEST_F(OutOfMemoryDeathTest, EndsWithOneLineAndStatusOne)
{
    EXPECT_EXIT(
        {
            EndProgramWhenMemoryRunsOut();
            RunUncaught([] { throw std::bad_alloc(); });
        },
        testing::ExitedWithCode(1), "^" + Program() + ": memory ran out\n$");
}

TEST_F(OutOfMemoryDeathTest, NamesTheFileAReaderWasReading)
{
    EXPECT_EXIT(
        {
            EndProgramWhenMemoryRunsOut();
            const ReportSubject outer("data/audio/events.json");
            const ReportSubject inner("data/mesh/car.msh");
            RunUncaught([] { std::vector<int, ExhaustedAllocator<int>>(16); });
        },
        testing::ExitedWithCode(1),
        "^" + Program() + ": memory ran out while reading \"data/mesh/car.msh\"\n$");
}

TEST_F(OutOfMemoryDeathTest, AFileTooLargeForTheMemoryLeftIsNamedByTheDataFileReader)
{
    char pattern[] = "/tmp/mg-out-of-memory-XXXXXX";
    const std::filesystem::path folder = mkdtemp(pattern);
    const std::string path = (folder / "level.json").string();
    std::ofstream(path) << "{}";
    EXPECT_EXIT(
        {
            EndProgramWhenMemoryRunsOut();
            RunUncaught([&path] {
                Marrowgate::Core::ReadDataFile<std::vector<char, ExhaustedAllocator<char>>>(path, 10);
            });
        },
        testing::ExitedWithCode(1), "^" + Program() + ": memory ran out while reading \"" + path + "\"\n$");
    std::filesystem::remove_all(folder);
}

TEST_F(OutOfMemoryDeathTest, OtherExceptionsStillEndTheStandardWay)
{
    EXPECT_EXIT(
        {
            EndProgramWhenMemoryRunsOut();
            RunUncaught([] { throw std::runtime_error("not about memory"); });
        },
        testing::KilledBySignal(SIGABRT),
        "terminate called after throwing an instance of 'std::runtime_error'");
}

} // namespace
