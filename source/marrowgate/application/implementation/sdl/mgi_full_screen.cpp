#include "marrowgate/application/implementation/sdl/mgi_full_screen.h"

#include "marrowgate/application/implementation/mgi_platform.h"
#include "marrowgate/application/implementation/sdl/mgi_realtime_sdl_application.h"

#include <cstdio>
#include <string>

namespace mgImplementation {
namespace {

bool sFullScreen = false;
// Opened in a full-screen mode and not left since: leaving goes through the window's shape,
// not through the desktop full screen that a switch puts on.
bool sOpenedFullScreen = false;

} // namespace

void AdoptOpeningMode(Marrowgate::Application::WindowMode mode)
{
    sOpenedFullScreen = mode != Marrowgate::Application::WindowMode::kWindowed;
    sFullScreen = sOpenedFullScreen;
}

bool SetFullScreen(bool fullScreen)
{
    if (!IsApplicationOpen() || fullScreen == sFullScreen) {
        return fullScreen == sFullScreen;
    }
    if (sOpenedFullScreen) {
        sOpenedFullScreen = false;
        sFullScreen = false;
        ShowInDefaultWindow();
        AdoptDrawableSize();
        return true;
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
    sOpenedFullScreen = false;
}

} // namespace mgImplementation
