#include "marrowgate/core/mg_unit_test.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace Marrowgate::Core::UnitTest {
namespace {

std::vector<TestCaseInterface*>& Registry()
{
    // Created on first use, so it exists before the first case registers and outlives the
    // last one whatever order static objects are built in.
    static std::vector<TestCaseInterface*> registry;
    return registry;
}

void AppendFailure(std::string& log, bool& passed, const char* format, std::va_list arguments)
{
    passed = false;
    if (format != nullptr && format[0] != '\0') {
        log += " ---> " + Error::FormatMessage(format, arguments) + "\n";
    }
}

} // namespace

TestCaseInterface::TestCaseInterface(std::string name) : mName(std::move(name))
{
    Registry().push_back(this);
}

TestCaseInterface::~TestCaseInterface()
{
    std::erase(Registry(), this);
}

void TestCaseInterface::ReportFailure(const char* format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    AppendFailure(mFailureLog, mPassed, format, arguments);
    va_end(arguments);
}

bool TestCaseInterface::CheckEqual(float a, float b, const char* format, ...)
{
    const bool equal = std::fabs(a - b) <= 0.00001f;
    if (!equal) {
        std::va_list arguments;
        va_start(arguments, format);
        AppendFailure(mFailureLog, mPassed, format, arguments);
        va_end(arguments);
    }
    return equal;
}

bool TestCaseInterface::CheckEqual(double a, double b, const char* format, ...)
{
    const bool equal = std::fabs(a - b) <= 0.00001;
    if (!equal) {
        std::va_list arguments;
        va_start(arguments, format);
        AppendFailure(mFailureLog, mPassed, format, arguments);
        va_end(arguments);
    }
    return equal;
}

void TestCaseInterface::FailIf(bool condition, const char* format, ...)
{
    if (condition) {
        std::va_list arguments;
        va_start(arguments, format);
        AppendFailure(mFailureLog, mPassed, format, arguments);
        va_end(arguments);
    }
}

void TestCaseInterface::LogIf(bool condition, const char* file, int line, const char* format, ...)
{
    if (!condition) {
        return;
    }
    std::va_list arguments;
    va_start(arguments, format);
    const std::string message = Error::FormatMessage(format, arguments);
    va_end(arguments);

    std::string shortFile(file);
    if (const std::size_t found = shortFile.rfind("marrowgate"); found != std::string::npos) {
        shortFile.erase(0, found);
    }
    const std::string text = shortFile + ": " + std::to_string(line) + ": " + message + "\n";
    std::fputs(text.c_str(), stdout);
    if (std::FILE* results = std::fopen("test_results.txt", "a")) {
        std::fputs(text.c_str(), results);
        std::fclose(results);
    }
}

const std::vector<TestCaseInterface*>& GetRegisteredTestCases()
{
    return Registry();
}

} // namespace Marrowgate::Core::UnitTest
