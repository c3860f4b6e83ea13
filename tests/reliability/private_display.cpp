#include "private_display.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace QuorvaneReliability {
namespace {

// A loaded machine can take many seconds to start a server.
constexpr int kStartMilliseconds = 60000;

} // namespace

PrivateDisplay::PrivateDisplay(int width, int height)
{
    int fds[2];
    if (pipe(fds) != 0) {
        return;
    }
    mProcess = fork();
    if (mProcess == 0) {
        close(fds[0]);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        const std::string fd = std::to_string(fds[1]);
        const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
               "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    // Xvfb writes the display number it chose once it accepts connections.
    std::string number;
    pollfd waiting{fds[0], POLLIN, 0};
    char character = 0;
    while (poll(&waiting, 1, kStartMilliseconds) > 0 && read(fds[0], &character, 1) == 1 &&
           character != '\n') {
        number += character;
    }
    close(fds[0]);
    if (!number.empty()) {
        mName = ":" + number;
    }
}

PrivateDisplay::~PrivateDisplay()
{
    Stop();
}

void PrivateDisplay::Stop()
{
    if (mProcess > 0) {
        kill(mProcess, SIGTERM);
        waitpid(mProcess, nullptr, 0);
        mProcess = -1;
    }
}

} // namespace QuorvaneReliability
