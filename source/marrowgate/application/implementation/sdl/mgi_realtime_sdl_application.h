#pragma once
// The realtime application's logic over the platform seam: opening the window and its
// context in a fixed order, the main loop, closing, and the window events. One application
// per process at a time; the state lives here, in one place.

#include "marrowgate/application/mg_application_handler_interface.h"

#include <string>

namespace mgImplementation {

void OpenApplication(Marrowgate::Application::ApplicationHandlerInterface& applicationHandler);
void RunApplication(Marrowgate::Application::ApplicationHandlerInterface& applicationHandler);
void CloseApplication(Marrowgate::Application::ApplicationHandlerInterface& applicationHandler);
void SetApplicationWindowTitle(const std::string& title);
bool IsApplicationOpen();
void SetFrameRateCap(int framesPerSecond);

// Gives the open window the default windowed shape (1280 by 720, centred, the desktop's own
// resolution): where a window that opened in a full-screen mode goes when it leaves it.
void ShowInDefaultWindow();

// Sizes the viewport and the screen metrics to the window's drawable (after any size change).
void AdoptDrawableSize();

// The line written to stderr once the context is up: driver, context and renderer set-up.
std::string DescribeStartup();

} // namespace mgImplementation
