// Runs every test case registered with the framework's unit-test registry, prints the log of
// each failing case and a summary line, and exits non-zero when any case failed.

#include "marrowgate/core/mg_unit_test.h"

#include <cstdio>
#include <exception>
#include <vector>

namespace {

using Marrowgate::Core::UnitTest::TestCaseInterface;

// A check inside the tested code may throw once some case has switched the error facility
// to throwing; that must fail the one case, not end the run.
bool RunCase(TestCaseInterface& testCase)
{
    try {
        return testCase.Run() && testCase.HasPassed();
    } catch (const std::exception& exception) {
        std::printf("%s threw: %s\n", testCase.GetName().c_str(), exception.what());
    } catch (...) {
        std::printf("%s threw an unknown exception\n", testCase.GetName().c_str());
    }
    return false;
}

} // namespace

int main()
{
    // Copy first: a case that destroys another would change the registry under the loop.
    const std::vector<TestCaseInterface*> cases = Marrowgate::Core::UnitTest::GetRegisteredTestCases();
    int passed = 0;
    int failed = 0;
    for (TestCaseInterface* testCase : cases) {
        if (RunCase(*testCase)) {
            ++passed;
            std::printf("[ passed ] %s\n", testCase->GetName().c_str());
        } else {
            ++failed;
            std::printf("[ FAILED ] %s\n%s", testCase->GetName().c_str(), testCase->GetFailureLog().c_str());
        }
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 && passed > 0 ? 0 : 1;
}
