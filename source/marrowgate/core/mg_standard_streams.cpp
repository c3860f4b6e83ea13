#include "marrowgate/core/mg_standard_streams.h"

#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace Marrowgate::Core {

void GuardStandardStreams()
{
    static bool guarded = false;
    if (guarded) {
        return;
    }
    guarded = true;
    for (int descriptor = STDIN_FILENO; descriptor <= STDERR_FILENO; ++descriptor) {
        if (fcntl(descriptor, F_GETFD) != -1) {
            continue;
        }
        // open returns the lowest free number, which is this one: every lower one is open by now.
        const int opened = open("/dev/null", descriptor == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (opened != descriptor && opened != -1) {
            dup2(opened, descriptor);
            close(opened);
        }
    }
    std::signal(SIGPIPE, SIG_IGN);
}

} // namespace Marrowgate::Core

namespace {

// Priority 101 is the first one free for programs: it runs before every constructor of default
// priority in the executable, whichever library or object file holds it.
__attribute__((constructor(101))) void GuardBeforeStaticConstructors()
{
    Marrowgate::Core::GuardStandardStreams();
}

} // namespace
