#pragma once
// Switching the open window between its windowed shape and desktop full screen while it runs.
// The OpenGL context stays through the switch, so every texture, text, mesh and program does:
// only the drawable's size changes, and the viewport and screen metrics follow it.

#include "marrowgate/application/mg_window_properties.h"

namespace mgImplementation {

// The window has just opened in this mode: either full-screen mode counts as full screen, so
// the first switch leaves it (for the default window's shape, as it has none of its own).
void AdoptOpeningMode(Marrowgate::Application::WindowMode mode);
// False when the window system refused; the window is then as it was and one line on stderr
// says why. Asking for the state the window is already in changes nothing.
bool SetFullScreen(bool fullScreen);
bool IsFullScreen();
// The window is gone: a later window starts windowed.
void ForgetFullScreen();

} // namespace mgImplementation
