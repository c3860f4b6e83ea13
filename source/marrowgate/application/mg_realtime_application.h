#pragma once
/// The realtime application: the one window, its OpenGL context and the main loop.
/// @file
/// It knows nothing of games: it reports what happens to one ApplicationHandlerInterface and
/// calls its OnRealtimeUpdate once per pass of the loop. Only one can be open at a time. The
/// window system sits behind a platform seam (SDL2 in production, a scripted platform in tests),
/// so the callback order, the property resolution, the context request order and the loop are
/// plain code.
///
/// Depends on: core (errors), graphics (the basic renderer), the platform seam.

#include "marrowgate/application/mg_application_handler_interface.h"
#include "marrowgate/application/mg_window_properties.h"
#include "marrowgate/graphics/mg_color.h"

#include <span>
#include <string>

namespace Marrowgate::Application {

class RealtimeApplication
{
public:
    explicit RealtimeApplication(ApplicationHandlerInterface& applicationHandler);
    RealtimeApplication(const RealtimeApplication&) = delete;
    RealtimeApplication& operator=(const RealtimeApplication&) = delete;

    // Creates the window and its context; raises CollectWindowProperties,
    // OnGraphicsContextCreated and OnWindowOpen in that order.
    void Open();
    // Runs the main loop until the window has closed.
    void Run();
    // Releases the context and destroys the window; the loop ends on its next pass.
    void Close();
    void SetWindowTitle(const std::string& title);
    // Decodes an image file (PNG and the other formats textures read) and makes it the icon
    // window managers show for the window. A file that does not decode is reported and the
    // window keeps the icon it had.
    void SetWindowIcon(std::span<const unsigned char> imageFile);

    // Switches between the window and desktop full screen, keeping the context and everything
    // made with it. F11 and Alt+Enter do the same from the keyboard. False when the display
    // refused: the window stays as it was and stderr says why.
    bool SetFullScreen(bool fullScreen);
    bool IsFullScreen() const;

    // At most this many frames a second (0, the default: as many as vertical sync allows), by
    // sleeping out the rest of each frame: spares a laptop's battery. Vertical sync still holds
    // where it is slower. A negative rate is reported and ignored. Kept for later windows.
    void SetFrameRateCap(int framesPerSecond);

protected:
    ApplicationHandlerInterface& GetApplicationHandler() const { return mApplicationHandler; }

private:
    ApplicationHandlerInterface& mApplicationHandler;
};

// Clears the window's colour buffer to `color` (transparent black unless a caller says otherwise)
// and its depth buffer: the start of a frame.
void ClearFrame(const Graphics::Color& color = Graphics::Color(0.0f, 0.0f, 0.0f, 0.0f));

// Shows a message box owned by the window (no owner before it exists) and writes the text to
// stderr as well. Only an OK button when cancelText is empty, OK and Cancel otherwise; the
// button labels are the system's. Returns true for OK, and also when no box can be shown.
bool OpenMessageBox(const std::string& title, const std::string& message, const std::string& okayText,
                    const std::string& cancelText);

} // namespace Marrowgate::Application
