#include "marrowgate/application/implementation/sdl/mgi_full_screen.h"

#include "marrowgate/application/implementation/mgi_platform.h"
#include "marrowgate/application/implementation/sdl/mgi_realtime_sdl_application.h"

#include <cstdio>
#include <string>

namespace mgImplementation {
namespace {

bool sFullScreen = false;

} // namespace

bool SetFullScreen(bool fullScreen)
{
    if (!IsApplicationOpen() || fullScreen == sFullScreen) {
        return fullScreen == sFullScreen;
    }
    std::string reason;
    if (!GetPlatform().SetDesktopFullScreen(fullScreen, reason)) {
        // Not an error report: the game goes on in the window it has, and the player may retry.
        std::fprintf(stderr, "marrowgate: could not %s full screen: %s\n", fullScreen ? "switch to" : "leave",
                     reason.c_str());
        return false;
    }
    sFullScreen = fullScreen;
    // Some window systems report the new size only with a later event; that event adopts it
    // again, and this covers the ones that do not send one.
    AdoptDrawableSize();
    return true;
}

bool IsFullScreen()
{
    return sFullScreen;
}

void ForgetFullScreen()
{
    sFullScreen = false;
}

} // namespace mgImplementation
