#include "marrowgate/core/mg_standard_streams.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <string>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool IgnoresBrokenPipes()
{
    struct sigaction current
    {
    };
    return sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

// What a static object of default priority finds while it is built, as the audio manager does
// when it opens its device.
struct StaticStartState
{
    bool descriptorsOpen = true;
    bool brokenPipesIgnored = false;
};

const StaticStartState theStaticStartState = [] {
    StaticStartState state;
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        state.descriptorsOpen = state.descriptorsOpen && fcntl(descriptor, F_GETFD) != -1;
    }
    state.brokenPipesIgnored = IgnoresBrokenPipes();
    return state;
}();

enum class Streams
{
    kAllClosed,
    kErrorClosed,
    kBrokenPipe,
};

// Runs the disabled test below in a child process whose standard streams are set up as asked.
// Returns the child's wait status.
int RunChild(Streams streams)
{
    std::string program = "standard-streams-child";
    std::string filter = "--gtest_filter=StandardStreamsChild.DISABLED_FindsItsStreamsGuarded";
    std::string alsoDisabled = "--gtest_also_run_disabled_tests";
    char* arguments[] = {program.data(), filter.data(), alsoDisabled.data(), nullptr};
    int pipeEnds[2] = {-1, -1};
    if (streams == Streams::kBrokenPipe && pipe(pipeEnds) != 0) {
        return -1;
    }
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGPIPE, SIG_DFL);
        switch (streams) {
        case Streams::kAllClosed:
            close(STDIN_FILENO);
            close(STDOUT_FILENO);
            close(STDERR_FILENO);
            break;
        case Streams::kErrorClosed:
            close(STDERR_FILENO);
            break;
        case Streams::kBrokenPipe:
            // Nobody will ever read: the reading end is closed in both processes.
            close(pipeEnds[0]);
            dup2(pipeEnds[1], STDOUT_FILENO);
            dup2(pipeEnds[1], STDERR_FILENO);
            close(pipeEnds[1]);
            break;
        }
        execv("/proc/self/exe", arguments);
        _exit(127);
    }
    if (streams == Streams::kBrokenPipe) {
        close(pipeEnds[0]);
        close(pipeEnds[1]);
    }
    int status = -1;
    waitpid(child, &status, 0);
    return status;
}

TEST(StandardStreams, AProgramStartedWithClosedOrBrokenStreamsRunsToItsEnd)
{
    for (const Streams streams : {Streams::kAllClosed, Streams::kErrorClosed, Streams::kBrokenPipe}) {
        const int status = RunChild(streams);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "streams case " << static_cast<int>(streams) << ": status " << status;
    }
}

TEST(StandardStreamsChild, DISABLED_FindsItsStreamsGuarded)
{
    EXPECT_TRUE(theStaticStartState.descriptorsOpen);
    EXPECT_TRUE(theStaticStartState.brokenPipesIgnored);
    // Calling again, as a program entry does, changes nothing.
    Marrowgate::Core::GuardStandardStreams();
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        EXPECT_NE(fcntl(descriptor, F_GETFD), -1) << descriptor;
    }
    // A descriptor that was closed now leads nowhere, rather than into the next file opened.
    const int next = open("/dev/null", O_RDONLY);
    EXPECT_GT(next, STDERR_FILENO);
    close(next);
    // A diagnostic nobody can read fails quietly.
    std::fprintf(stderr, "a diagnostic\n");
    std::fflush(stderr);
}

} // namespace
