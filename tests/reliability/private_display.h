#pragma once
// An X server of a test's own (Xvfb), so that runs in parallel cannot type into each other's
// windows. It is started with -noreset: by default an X server resets whenever its last client
// leaves, and drops every connection still in its set-up at that moment, so a program
// connecting just as a helper tool (xwininfo, xdotool) disconnects would find no display.

#include <sys/types.h>

#include <string>

namespace QuorvaneReliability {

class PrivateDisplay
{
public:
    PrivateDisplay(int width, int height);
    // Stops the server: its clients lose their display.
    ~PrivateDisplay();
    PrivateDisplay(const PrivateDisplay&) = delete;
    PrivateDisplay& operator=(const PrivateDisplay&) = delete;

    // ":<number>", or empty when the server did not start.
    const std::string& GetName() const { return mName; }
    void Stop();

private:
    pid_t mProcess = -1;
    std::string mName;
};

} // namespace QuorvaneReliability
