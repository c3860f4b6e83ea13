#pragma once
// The seam between the realtime application's logic and the window system.
//
// Each operation is one duty of the window system, worded so that the logic above it (callback
// order, property resolution, context request order, the loop, every report) needs no window
// system types. Production uses the SDL2 platform; tests install a scripted one with a fake
// clock and scripted events. Only one platform is active at a time.

#include "marrowgate/application/mg_input.h"
#include "marrowgate/application/mg_window_properties.h"

#include <optional>
#include <span>
#include <string>

namespace mgImplementation {

enum class ContextProfile
{
    kCore,
    kCompatible,
    kEmbedded,
};

struct Resolution
{
    int width = 0;
    int height = 0;
    friend bool operator==(const Resolution&, const Resolution&) = default;
};

// The window's outer rectangle, decorations included, in screen pixels.
struct WindowFrame
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

enum class PlatformEventType
{
    kCloseRequested,
    kBecomeActive,
    kBecomeInactive,
    kExposed,
    kKeyDown,
    kKeyUp,
    kButtonDown,
    kButtonUp,
    kControllerButtonDown,
    kControllerButtonUp,
    kControllerStick,
    kControllerRemoved,
    // Minimised or otherwise not on screen, and back again.
    kHidden,
    kShown,
    // The window's size changed (the window manager, or a switch to or from full screen).
    kResized,
    // The user's shortcut for switching between the window and full screen.
    kToggleFullScreen,
    // One notch of the mouse wheel, its direction in key.
    kMouseWheel,
    // Typed text, and an input method's composition so far (text, with the cursor and the
    // length of the selected part in code points).
    kTextInput,
    kTextComposition,
};

// Keys and buttons arrive already translated; the platform drops every key it has no Key for.
// Controller events name the controller by the platform's id for it; a stick event carries the
// left stick's position on one axis, from -1 to 1.
struct PlatformEvent
{
    PlatformEventType type = PlatformEventType::kExposed;
    Marrowgate::Application::Key key = Marrowgate::Application::Key0;
    bool isRepeat = false;
    int controller = 0;
    StickAxis stickAxis = StickAxis::kHorizontal;
    float stickPosition = 0.0f;
    std::string text{}; // UTF-8
    int compositionCursor = 0;
    int compositionSelection = 0;
};

enum class SwapIntervalResult
{
    kSet,
    kUnsupported,
};

// What the start-up line reports about the context.
struct ContextDescription
{
    std::string videoDriver;
    std::string version;
    std::string renderer;
};

class PlatformInterface
{
public:
    virtual ~PlatformInterface() = default;

    // Window system start; false when there is no display to open a window on. reason says why.
    virtual bool Initialize(std::string& reason) = 0;
    virtual void Shutdown() = 0;

    virtual std::optional<Resolution> GetDesktopResolution() = 0;
    // 0 on success, the window system's failure code otherwise.
    virtual int ChangeDisplayResolution(Resolution resolution) = 0;
    // The primary screen's size, for centring.
    virtual Resolution GetScreenSize() = 0;

    // A hidden window whose client area is width by height at (x, y); false on failure.
    virtual bool CreateWindow(const Marrowgate::Application::WindowProperties& properties) = 0;
    virtual void SetWindowStyle(Marrowgate::Application::WindowMode mode, int width, int height) = 0;
    virtual Resolution GetClientSize() = 0;
    virtual WindowFrame GetWindowFrame() = 0;
    // Grows or shrinks the outer window by the given amounts without moving it.
    virtual void GrowWindow(int extraWidth, int extraHeight) = 0;
    virtual void MoveWindow(int left, int top) = 0;
    virtual void ShowWindow() = 0;
    virtual void DestroyWindow() = 0;
    virtual void SetWindowTitle(const std::string& title) = 0;
    // The drawable's size in pixels: larger than the client area on a scaled desktop.
    virtual Resolution GetDrawableSize() = 0;

    virtual bool CreateLegacyContext() = 0;
    // Replaces the current context with a versioned one; false leaves the current one.
    virtual bool CreateVersionedContext(ContextProfile profile, int major, int minor) = 0;
    // 0 on success, the loader's error code otherwise (a code that only says "no GLX display"
    // counts as success: the entry points still load on EGL).
    virtual int InitializeLoader() = 0;
    virtual SwapIntervalResult SetSwapInterval(int interval) = 0;
    virtual void SetViewport(Resolution size) = 0;
    // Clears colour to the given one (not premultiplied by the platform) and depth to the far end.
    virtual void ClearFrame(float red, float green, float blue, float alpha) = 0;
    virtual void DestroyContext() = 0;
    virtual ContextDescription DescribeContext() = 0;
    virtual void SwapBuffers() = 0;
    // Frames per second of the display the window is on; 0 when unknown.
    virtual int GetRefreshRate() = 0;

    // False when no event is waiting.
    virtual bool PollEvent(PlatformEvent& event) = 0;
    virtual Marrowgate::Application::MousePosition GetCursorPosition() = 0;
    virtual void SetCursorPosition(int x, int y) = 0;
    virtual void CaptureMouse(bool captured) = 0;

    // Seconds from an arbitrary origin, and sleeping, for pacing frames.
    virtual double GetSeconds() = 0;
    virtual void Sleep(double seconds) = 0;

    // True for OK. False only when the user chose Cancel.
    virtual bool ShowMessageBox(const std::string& title, const std::string& message, bool withCancel) = 0;

    // Switches between the window and desktop full screen: the window covers the whole desktop
    // without changing the display mode, and the cursor is hidden over it. False, with the
    // window left as it was and reason saying why, when the window system refuses.
    virtual bool SetDesktopFullScreen(bool /*fullScreen*/, std::string& reason)
    {
        reason = "this window system has no full screen";
        return false;
    }
    // Starts or stops text input events (and the input method with them).
    virtual void SetTextInput(bool /*enabled*/) {}
    // Blocks until an event is waiting, leaving it queued; for a loop with nothing to draw.
    virtual void WaitForEvent() {}
    // The icon window managers show for the window; rgbaPixels holds width * height premultiplied
    // RGBA pixels, rows from the top.
    virtual void SetWindowIcon(int /*width*/, int /*height*/, std::span<const unsigned char> /*rgbaPixels*/)
    {}

    // False for a platform with no OpenGL behind its contexts (a scripted test platform): the
    // renderer then stays uninitialised and frames run without drawing.
    virtual bool DrawsWithOpenGL() const { return true; }
};

// The active platform: the SDL2 one unless a test installed another (nullptr restores it).
PlatformInterface& GetPlatform();
void SetPlatform(PlatformInterface* platform);

} // namespace mgImplementation
