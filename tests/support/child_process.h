#pragma once
// Runs one test of the current test program again in a child process, with extra environment
// variables. For tests that need process-wide settings which are read once per process, such as
// OpenAL Soft's configuration. Name a DISABLED_ test to keep the child's part out of normal runs.

#include <string>
#include <utility>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace QuorvaneTest {

// Returns the child's exit status (0 when its test passed), or -1 when it could not run.
inline int RunTestInChildProcess(const std::string& testName,
                                 const std::vector<std::pair<std::string, std::string>>& environment)
{
    // Everything the child needs is prepared before fork: only exec may run in the child, as
    // the parent may have other threads (an audio mixer, say) running.
    std::vector<std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        variables.emplace_back(*entry);
    }
    for (const auto& [name, value] : environment) {
        const std::string prefix = name + "=";
        std::erase_if(variables,
                      [&prefix](const std::string& variable) { return variable.starts_with(prefix); });
        variables.push_back(prefix + value);
    }
    std::vector<char*> environmentPointers;
    for (std::string& variable : variables) {
        environmentPointers.push_back(variable.data());
    }
    environmentPointers.push_back(nullptr);
    std::string programName = "test-child";
    std::string filter = "--gtest_filter=" + testName;
    std::string alsoDisabled = "--gtest_also_run_disabled_tests";
    char* arguments[] = {programName.data(), filter.data(), alsoDisabled.data(), nullptr};

    const pid_t child = fork();
    if (child < 0) {
        return -1;
    }
    if (child == 0) {
        execve("/proc/self/exe", arguments, environmentPointers.data());
        _exit(127);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

} // namespace QuorvaneTest
