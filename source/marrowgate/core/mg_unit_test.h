#pragma once
/// A minimal self-registering unit-test framework that ships inside the program with the
/// framework's own test cases. Each test case is one object created during static start-up;
/// its constructor appends it to a process-wide registry, its destructor removes it. A case
/// records failures as text and carries on; nothing in the program runs the cases, a runner
/// (mg_selftest) walks the registry instead.
/// @file
/// Depends on the error facility only through the code under test. Single-threaded.

#include "marrowgate/core/mg_error.h"
#include "marrowgate/core/mg_noncopyable.h"

#include <string>
#include <vector>

namespace Marrowgate::Core::UnitTest {

class TestCaseInterface : private Noncopyable
{
public:
    explicit TestCaseInterface(std::string name);
    virtual ~TestCaseInterface();

    // Performs the whole case; returns whether every check passed.
    virtual bool Run() = 0;

    const std::string& GetName() const { return mName; }
    // One line per reported failure, each beginning " ---> ".
    const std::string& GetFailureLog() const { return mFailureLog; }
    bool HasPassed() const { return mPassed; }

    // Clears passed; a non-empty message also becomes a line of the failure log. The message
    // is cut at 4095 characters.
    void ReportFailure(const char* format, ...) MG_PRINTF_FORMAT(2, 3);
    // Equal within 0.00001, compared in the precision of the arguments; otherwise reports.
    bool CheckEqual(float a, float b, const char* format, ...) MG_PRINTF_FORMAT(4, 5);
    bool CheckEqual(double a, double b, const char* format, ...) MG_PRINTF_FORMAT(4, 5);
    void FailIf(bool condition, const char* format, ...) MG_PRINTF_FORMAT(3, 4);
    // When `condition` holds, writes "file: line: message" to standard output and appends it to
    // "test_results.txt" in the working directory. The file is shortened to start at its last
    // "marrowgate", so logs do not depend on where the sources were checked out.
    void LogIf(bool condition, const char* file, int line, const char* format, ...) MG_PRINTF_FORMAT(5, 6);

private:
    std::string mName;
    std::string mFailureLog;
    bool mPassed = true;
};

// The registered cases in registration order. Not owning.
const std::vector<TestCaseInterface*>& GetRegisteredTestCases();

} // namespace Marrowgate::Core::UnitTest

// Declares a test case class named `name`, registers its one instance under that name and
// opens the body of its Run(), which ends with `return HasPassed();`.
#define MG_TEST_CASE(name)                                                                                   \
    namespace {                                                                                              \
    class name final : public ::Marrowgate::Core::UnitTest::TestCaseInterface                                \
    {                                                                                                        \
    public:                                                                                                  \
        name() : TestCaseInterface(#name) {}                                                                 \
        bool Run() override;                                                                                 \
    };                                                                                                       \
    name the##name;                                                                                          \
    }                                                                                                        \
    bool name::Run()
