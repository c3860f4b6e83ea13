#include "marrowgate/application/implementation/sdl/mgi_sdl_platform.h"

#include "marrowgate/application/implementation/mgi_deadline_watchdog.h"
#include "marrowgate/application/implementation/mgi_platform.h"
#include "marrowgate/application/implementation/sdl/mgi_sdl_game_controllers.h"
#include "marrowgate/application/implementation/sdl/mgi_sdl_window_state.h"
#include "marrowgate/core/mg_frame_timer.h"

#include <GL/glew.h>
#include <SDL2/SDL.h>

#ifdef __EMSCRIPTEN__
#include "marrowgate/application/implementation/web/mgi_web_page.h"
#endif

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>

namespace mgImplementation {
namespace {

using Marrowgate::Application::Key;
using Marrowgate::Application::MousePosition;
using Marrowgate::Application::WindowMode;
using Marrowgate::Application::WindowProperties;

// In a browser there is always a canvas to draw on, the page owns its size and place, and the
// page's animation frames pace drawing.
#ifdef __EMSCRIPTEN__
constexpr bool kInBrowser = true;
#else
constexpr bool kInBrowser = false;
#endif

bool IsSet(const char* variable)
{
    const char* value = std::getenv(variable);
    return value != nullptr && value[0] != '\0';
}

bool TranslateWheel(const SDL_MouseWheelEvent& wheel, PlatformEvent& event)
{
    using namespace Marrowgate::Application;
    // Some systems report the wheel turned the other way round ("natural" scrolling); the codes
    // name the direction the content should move, as on every other system.
    const int flip = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
    const int vertical = wheel.y * flip;
    const int horizontal = wheel.x * flip;
    if (vertical == 0 && horizontal == 0) {
        return false;
    }
    event.type = PlatformEventType::kMouseWheel;
    event.key = vertical > 0     ? MouseWheelUp
                : vertical < 0   ? MouseWheelDown
                : horizontal > 0 ? MouseWheelRight
                                 : MouseWheelLeft;
    return true;
}

// Connecting to the window system can hang for ever: an X server (or anything listening where
// one should be) that accepts the connection and never replies holds the X library in its first
// read. Ten seconds is far beyond a real server's answer, even on a loaded machine.
constexpr std::chrono::seconds kWindowSystemAnswerDeadline{10};

// The display the video system connects to, as the user named it (X is tried before Wayland).
std::string DisplayName()
{
    const char* value =
        std::getenv(IsSet("DISPLAY") || !IsSet("WAYLAND_DISPLAY") ? "DISPLAY" : "WAYLAND_DISPLAY");
    return value != nullptr ? value : "";
}

bool StartVideoWithinDeadline()
{
    // A page's canvas needs no window system that could leave it waiting, and a page has no
    // second thread to keep the deadline.
    if (kInBrowser) {
        return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    }
    const DeadlineWatchdog watchdog(kWindowSystemAnswerDeadline,
                                    "marrowgate: the display \"" + DisplayName() +
                                        "\" does not answer (no reply within " +
                                        std::to_string(kWindowSystemAnswerDeadline.count()) + " s)");
    return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

class SdlPlatform final : public PlatformInterface
{
public:
    bool Initialize(std::string& reason) override;
    void Shutdown() override;

    std::optional<Resolution> GetDesktopResolution() override;
    int ChangeDisplayResolution(Resolution resolution) override;
    Resolution GetScreenSize() override;

    bool CreateWindow(const WindowProperties& properties) override;
    void SetWindowStyle(WindowMode mode, int width, int height) override;
    Resolution GetClientSize() override;
    WindowFrame GetWindowFrame() override;
    void GrowWindow(int extraWidth, int extraHeight) override;
    void MoveWindow(int left, int top) override;
    void ShowWindow() override;
    void DestroyWindow() override;
    void SetWindowTitle(const std::string& title) override;
    Resolution GetDrawableSize() override;

    bool CreateLegacyContext() override;
    bool CreateVersionedContext(ContextProfile profile, int major, int minor) override;
    int InitializeLoader() override;
    SwapIntervalResult SetSwapInterval(int interval) override;
    void SetViewport(Resolution size) override;
    void ClearFrame(float red, float green, float blue, float alpha) override;
    void DestroyContext() override;
    ContextDescription DescribeContext() override;
    void SwapBuffers() override;
    int GetRefreshRate() override;

    bool PollEvent(PlatformEvent& event) override;
    MousePosition GetCursorPosition() override;
    void SetCursorPosition(int x, int y) override;
    void CaptureMouse(bool captured) override;

    double GetSeconds() override;
    void Sleep(double seconds) override;

    bool ShowMessageBox(const std::string& title, const std::string& message, bool withCancel) override;

    bool SetDesktopFullScreen(bool fullScreen, std::string& reason) override
    {
        return SetSdlDesktopFullScreen(mWindow, fullScreen, reason);
    }
    void WaitForEvent() override;
    void SetTextInput(bool enabled) override;
    void SetWindowIcon(int width, int height, std::span<const unsigned char> rgbaPixels) override
    {
        SetSdlWindowIcon(mWindow, width, height, rgbaPixels);
    }

private:
    bool Translate(const SDL_Event& sdlEvent, PlatformEvent& event);
    // Drawable pixels per client-area point (above 1 on a scaled desktop).
    double PixelScale();
    struct Borders
    {
        int top = 0;
        int left = 0;
        int bottom = 0;
        int right = 0;
    };
    Borders GetBorders();

    bool mInitialized = false;
    SDL_Window* mWindow = nullptr;
    SDL_GLContext mContext = nullptr;
    SdlGameControllers mControllers;
};

bool SdlPlatform::Initialize(std::string& reason)
{
    if (mInitialized) {
        return true;
    }
#ifdef __EMSCRIPTEN__
    // The loop hands control to the browser itself; SDL's own yield inside its buffer swap
    // would unwind through calls that asyncify leaves alone.
    SDL_SetHint(SDL_HINT_EMSCRIPTEN_ASYNCIFY, "0");
#endif
    // SDL falls back to its invisible "offscreen" driver when it finds no display; a game
    // nobody can see is a failure, unless the user chose a driver on purpose.
    const bool driverChosen = kInBrowser || IsSet("SDL_VIDEODRIVER");
    if (!driverChosen && !IsSet("DISPLAY") && !IsSet("WAYLAND_DISPLAY")) {
        reason = "no display to open a window on (neither DISPLAY nor WAYLAND_DISPLAY is set)";
        return false;
    }
    // Compositions longer than SDL's fixed 32-byte event arrive whole instead of cut off.
    SDL_SetHint(SDL_HINT_IME_SUPPORT_EXTENDED_TEXT, "1");
    if (!StartVideoWithinDeadline()) {
        reason = std::string("the video system could not start: ") + SDL_GetError();
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driverChosen && driver != nullptr && std::string(driver) == "offscreen") {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        reason = "no display to open a window on (only the offscreen video driver is available)";
        return false;
    }
    // Frame times come from the same counter SDL paces and timestamps with.
    Marrowgate::Core::SetCounterSource(
        {[]() -> std::int64_t { return static_cast<std::int64_t>(SDL_GetPerformanceCounter()); },
         []() -> std::int64_t { return static_cast<std::int64_t>(SDL_GetPerformanceFrequency()); }});
    mControllers.Start();
    mInitialized = true;
    return true;
}

void SdlPlatform::Shutdown()
{
    if (mInitialized) {
        mControllers.Stop();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        mInitialized = false;
    }
}

std::optional<Resolution> SdlPlatform::GetDesktopResolution()
{
    SDL_DisplayMode mode;
    if (SDL_GetCurrentDisplayMode(0, &mode) != 0) {
        return std::nullopt;
    }
    return Resolution{mode.w, mode.h};
}

int SdlPlatform::ChangeDisplayResolution(Resolution resolution)
{
    // SDL changes the display mode only for a full-screen window and restores the desktop mode
    // when the window leaves full screen; this selects the mode that full screen will use.
    SDL_DisplayMode wanted{};
    wanted.w = resolution.width;
    wanted.h = resolution.height;
    SDL_DisplayMode closest;
    if (SDL_GetClosestDisplayMode(0, &wanted, &closest) == nullptr) {
        return -1;
    }
    return SDL_SetWindowDisplayMode(mWindow, &closest);
}

Resolution SdlPlatform::GetScreenSize()
{
    SDL_Rect bounds{};
    if (SDL_GetDisplayBounds(0, &bounds) != 0) {
        return {};
    }
    return {bounds.w, bounds.h};
}

bool SdlPlatform::CreateWindow(const WindowProperties& properties)
{
    // 32 colour bits, 24 depth bits, no stencil, double-buffered; a plain legacy context first.
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
#ifdef __EMSCRIPTEN__
    // The page sizes the canvas; a resizable window follows its size and the device pixel ratio.
    constexpr Uint32 kSizing = SDL_WINDOW_RESIZABLE;
#else
    constexpr Uint32 kSizing = 0;
#endif
    const auto create = [&properties]() {
        return SDL_CreateWindow("Marrowgate Project", properties.x, properties.y, properties.width,
                                properties.height,
                                SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI | kSizing);
    };
    // The window's visual fixes the framebuffer for every context made on it, so a driver that
    // has no multisampled visual refuses here; the window then goes without, silently.
    RequestMultisampling(properties.multisampling);
    mWindow = create();
    if (mWindow == nullptr && properties.multisampling) {
        RequestMultisampling(false);
        mWindow = create();
    }
    return mWindow != nullptr;
}

void SdlPlatform::SetWindowStyle(WindowMode mode, int width, int height)
{
    if constexpr (kInBrowser) {
        return;
    }
    switch (mode) {
    case WindowMode::kWindowed:
        SDL_SetWindowFullscreen(mWindow, 0);
        SDL_SetWindowBordered(mWindow, SDL_TRUE);
        SDL_SetWindowResizable(mWindow, SDL_FALSE);
        SDL_SetWindowSize(mWindow, width, height);
        break;
    case WindowMode::kFullScreenWindow:
        SDL_SetWindowFullscreen(mWindow, 0);
        SDL_SetWindowBordered(mWindow, SDL_FALSE);
        SDL_SetWindowPosition(mWindow, 0, 0);
        SDL_SetWindowSize(mWindow, width, height);
        break;
    case WindowMode::kFullScreen:
        SDL_SetWindowBordered(mWindow, SDL_FALSE);
        SDL_SetWindowPosition(mWindow, 0, 0);
        SDL_SetWindowFullscreen(mWindow, SDL_WINDOW_FULLSCREEN);
        break;
    }
}

Resolution SdlPlatform::GetClientSize()
{
    Resolution size;
    SDL_GetWindowSize(mWindow, &size.width, &size.height);
    return size;
}

SdlPlatform::Borders SdlPlatform::GetBorders()
{
    // Without a window manager (or before it has decorated the window) there are none.
    Borders borders;
    if (SDL_GetWindowBordersSize(mWindow, &borders.top, &borders.left, &borders.bottom, &borders.right) !=
        0) {
        return {};
    }
    return borders;
}

WindowFrame SdlPlatform::GetWindowFrame()
{
    int x = 0;
    int y = 0;
    SDL_GetWindowPosition(mWindow, &x, &y);
    const Resolution client = GetClientSize();
    const Borders borders = GetBorders();
    return {x - borders.left, y - borders.top, x + client.width + borders.right,
            y + client.height + borders.bottom};
}

void SdlPlatform::GrowWindow(int extraWidth, int extraHeight)
{
    if (kInBrowser || (extraWidth == 0 && extraHeight == 0)) {
        return;
    }
    const Resolution client = GetClientSize();
    SDL_SetWindowSize(mWindow, client.width + extraWidth, client.height + extraHeight);
}

void SdlPlatform::MoveWindow(int left, int top)
{
    if constexpr (kInBrowser) {
        return;
    }
    const Borders borders = GetBorders();
    SDL_SetWindowPosition(mWindow, left + borders.left, top + borders.top);
}

void SdlPlatform::ShowWindow()
{
    SDL_ShowWindow(mWindow);
    SDL_RaiseWindow(mWindow);
}

void SdlPlatform::DestroyWindow()
{
    if (mWindow != nullptr) {
        SDL_DestroyWindow(mWindow);
        mWindow = nullptr;
    }
}

void SdlPlatform::SetWindowTitle(const std::string& title)
{
    if (mWindow != nullptr) {
        SDL_SetWindowTitle(mWindow, title.c_str());
    }
}

Resolution SdlPlatform::GetDrawableSize()
{
    Resolution size;
    SDL_GL_GetDrawableSize(mWindow, &size.width, &size.height);
    return size;
}

bool SdlPlatform::CreateLegacyContext()
{
    mContext = SDL_GL_CreateContext(mWindow);
    return mContext != nullptr && SDL_GL_MakeCurrent(mWindow, mContext) == 0;
}

bool SdlPlatform::CreateVersionedContext(ContextProfile profile, int major, int minor)
{
    const int profileMask = profile == ContextProfile::kCore         ? SDL_GL_CONTEXT_PROFILE_CORE
                            : profile == ContextProfile::kCompatible ? SDL_GL_CONTEXT_PROFILE_COMPATIBILITY
                                                                     : SDL_GL_CONTEXT_PROFILE_ES;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, profileMask);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, major);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, minor);
    SDL_GLContext versioned = SDL_GL_CreateContext(mWindow);
    if (versioned == nullptr) {
        // A failed attempt may have unbound the legacy context; it stays in use.
        SDL_GL_MakeCurrent(mWindow, mContext);
        return false;
    }
    SDL_GL_MakeCurrent(mWindow, nullptr);
    SDL_GL_DeleteContext(mContext);
    mContext = versioned;
    SDL_GL_MakeCurrent(mWindow, mContext);
    return true;
}

int SdlPlatform::InitializeLoader()
{
    glewExperimental = GL_FALSE;
    const GLenum result = glewInit();
#ifdef GLEW_ERROR_NO_GLX_DISPLAY
    // On an EGL context (Wayland) GLEW finds no GLX display, yet the GL entry points load.
    if (result == GLEW_ERROR_NO_GLX_DISPLAY) {
        return 0;
    }
#endif
    return static_cast<int>(result);
}

SwapIntervalResult SdlPlatform::SetSwapInterval(int interval)
{
    if constexpr (kInBrowser) {
        // The browser's animation frames pace the loop whatever is asked.
        return SwapIntervalResult::kSet;
    }
    return SDL_GL_SetSwapInterval(interval) == 0 ? SwapIntervalResult::kSet
                                                 : SwapIntervalResult::kUnsupported;
}

void SdlPlatform::SetViewport(Resolution size)
{
    if (mContext != nullptr) {
        glViewport(0, 0, size.width, size.height);
    }
}

void SdlPlatform::ClearFrame(float red, float green, float blue, float alpha)
{
    if (mContext != nullptr) {
        glClearColor(red, green, blue, alpha);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
}

void SdlPlatform::DestroyContext()
{
    if (mContext != nullptr) {
        SDL_GL_MakeCurrent(mWindow, nullptr);
        SDL_GL_DeleteContext(mContext);
        mContext = nullptr;
    }
}

ContextDescription SdlPlatform::DescribeContext()
{
    const auto text = [this](GLenum name) {
        const GLubyte* value = mContext != nullptr ? glGetString(name) : nullptr;
        return value != nullptr ? std::string(reinterpret_cast<const char*>(value)) : std::string("unknown");
    };
    const char* driver = SDL_GetCurrentVideoDriver();
    return {driver != nullptr ? driver : "none", text(GL_VERSION), text(GL_RENDERER)};
}

void SdlPlatform::SwapBuffers()
{
    if (mWindow != nullptr && mContext != nullptr) {
        SDL_GL_SwapWindow(mWindow);
    }
}

int SdlPlatform::GetRefreshRate()
{
    SDL_DisplayMode mode;
    const int display = mWindow != nullptr ? SDL_GetWindowDisplayIndex(mWindow) : 0;
    if (SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) != 0) {
        return 0;
    }
    return mode.refresh_rate;
}

bool SdlPlatform::Translate(const SDL_Event& sdlEvent, PlatformEvent& event)
{
    switch (sdlEvent.type) {
    case SDL_QUIT:
        event.type = PlatformEventType::kCloseRequested;
        return true;
    case SDL_WINDOWEVENT:
        switch (sdlEvent.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            event.type = PlatformEventType::kCloseRequested;
            return true;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            event.type = PlatformEventType::kBecomeActive;
            return true;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            event.type = PlatformEventType::kBecomeInactive;
            return true;
        case SDL_WINDOWEVENT_EXPOSED:
            event.type = PlatformEventType::kExposed;
            return true;
        default:
            if (const std::optional<PlatformEventType> change =
                    TranslateWindowChange(sdlEvent.window.event)) {
                event.type = *change;
                return true;
            }
            return false;
        }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        if (sdlEvent.type == SDL_KEYDOWN &&
            IsFullScreenShortcut(sdlEvent.key.keysym.sym, sdlEvent.key.keysym.mod,
                                 sdlEvent.key.repeat != 0)) {
            event.type = PlatformEventType::kToggleFullScreen;
            return true;
        }
        const std::optional<Key> key = TranslateKey(sdlEvent.key.keysym.sym, sdlEvent.key.keysym.scancode);
        if (!key) {
            return false;
        }
        event.type = sdlEvent.type == SDL_KEYDOWN ? PlatformEventType::kKeyDown : PlatformEventType::kKeyUp;
        event.key = *key;
        event.isRepeat = sdlEvent.key.repeat != 0;
        return true;
    }
    case SDL_MOUSEWHEEL:
        return TranslateWheel(sdlEvent.wheel, event);
    case SDL_TEXTINPUT:
        event.type = PlatformEventType::kTextInput;
        event.text = sdlEvent.text.text;
        return true;
    case SDL_TEXTEDITING:
        event.type = PlatformEventType::kTextComposition;
        event.text = sdlEvent.edit.text;
        event.compositionCursor = sdlEvent.edit.start;
        event.compositionSelection = sdlEvent.edit.length;
        return true;
    case SDL_TEXTEDITING_EXT:
        // The text is the receiver's to free.
        event.type = PlatformEventType::kTextComposition;
        event.text = sdlEvent.editExt.text != nullptr ? sdlEvent.editExt.text : "";
        SDL_free(sdlEvent.editExt.text);
        event.compositionCursor = sdlEvent.editExt.start;
        event.compositionSelection = sdlEvent.editExt.length;
        return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        const Uint8 button = sdlEvent.button.button;
        if (button != SDL_BUTTON_LEFT && button != SDL_BUTTON_RIGHT && button != SDL_BUTTON_MIDDLE) {
            return false;
        }
        event.type = sdlEvent.type == SDL_MOUSEBUTTONDOWN ? PlatformEventType::kButtonDown
                                                          : PlatformEventType::kButtonUp;
        event.key = button == SDL_BUTTON_LEFT    ? Marrowgate::Application::MouseLeft
                    : button == SDL_BUTTON_RIGHT ? Marrowgate::Application::MouseRight
                                                 : Marrowgate::Application::MouseMiddle;
        event.isRepeat = false;
        return true;
    }
    default:
        return mControllers.Translate(sdlEvent, event);
    }
}

bool SdlPlatform::PollEvent(PlatformEvent& event)
{
    if (!mInitialized) {
        return false;
    }
    SDL_Event sdlEvent;
    while (SDL_PollEvent(&sdlEvent) != 0) {
        if (Translate(sdlEvent, event)) {
            return true;
        }
    }
    return false;
}

void SdlPlatform::SetTextInput(bool enabled)
{
    // SDL turns text input on when its video starts; the window system's state follows ours.
    if (!mInitialized) {
        return;
    }
    if (enabled) {
        SDL_StartTextInput();
    } else {
        SDL_StopTextInput();
    }
}

void SdlPlatform::WaitForEvent()
{
    if (mInitialized) {
        // A null event leaves the one that woke the wait in the queue for the next pass.
        SDL_WaitEvent(nullptr);
    }
}

double SdlPlatform::PixelScale()
{
    const Resolution client = GetClientSize();
    const Resolution drawable = GetDrawableSize();
    return client.width > 0 && drawable.width > 0 ? static_cast<double>(drawable.width) / client.width : 1.0;
}

MousePosition SdlPlatform::GetCursorPosition()
{
    if (mWindow == nullptr) {
        return {};
    }
    // The global position works while the cursor is outside the window (a held button).
    int globalX = 0;
    int globalY = 0;
    SDL_GetGlobalMouseState(&globalX, &globalY);
    int windowX = 0;
    int windowY = 0;
    SDL_GetWindowPosition(mWindow, &windowX, &windowY);
    const double scale = PixelScale();
    return {static_cast<std::int32_t>((globalX - windowX) * scale),
            static_cast<std::int32_t>((globalY - windowY) * scale)};
}

void SdlPlatform::SetCursorPosition(int x, int y)
{
    if (mWindow != nullptr) {
        const double scale = PixelScale();
        SDL_WarpMouseInWindow(mWindow, static_cast<int>(x / scale), static_cast<int>(y / scale));
    }
}

void SdlPlatform::CaptureMouse(bool captured)
{
    SDL_CaptureMouse(captured ? SDL_TRUE : SDL_FALSE);
}

double SdlPlatform::GetSeconds()
{
    return static_cast<double>(SDL_GetPerformanceCounter()) /
           static_cast<double>(SDL_GetPerformanceFrequency());
}

void SdlPlatform::Sleep(double seconds)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

bool SdlPlatform::ShowMessageBox(const std::string& title, const std::string& message, bool withCancel)
{
    constexpr int kOkay = 1;
    constexpr int kCancel = 0;
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, kOkay, "OK"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, kCancel, "Cancel"},
    };
    const SDL_MessageBoxData data{SDL_MESSAGEBOX_ERROR, mWindow, title.c_str(), message.c_str(),
                                  withCancel ? 2 : 1,   buttons, nullptr};
#ifdef __EMSCRIPTEN__
    // A browser's own dialog would block the page; the report goes into the page instead.
    ShowReportInPage(title, message);
    return true;
#endif
    int chosen = -1;
    if (SDL_ShowMessageBox(&data, &chosen) != 0) {
        // No box could be shown; carry on as if OK was chosen.
        return true;
    }
    return !withCancel || chosen == kOkay;
}

SdlPlatform& TheSdlPlatform()
{
    static SdlPlatform platform;
    return platform;
}

PlatformInterface* gInstalledPlatform = nullptr;

} // namespace

namespace {

// The keys that go by their position, whatever the layout makes them type.
std::optional<Key> KeyAtPosition(int scancode)
{
    using namespace Marrowgate::Application;
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) {
        return static_cast<Key>(Key1 + (scancode - SDL_SCANCODE_1));
    }
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) {
        return static_cast<Key>(KeyF1 + (scancode - SDL_SCANCODE_F1));
    }
    if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24) {
        return static_cast<Key>(KeyF13 + (scancode - SDL_SCANCODE_F13));
    }
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9) {
        return static_cast<Key>(Keypad1 + (scancode - SDL_SCANCODE_KP_1));
    }
    // clang-format off
    static constexpr std::pair<int, Key> kByPosition[] = {
        {SDL_SCANCODE_0, Key0}, {SDL_SCANCODE_LSHIFT, KeyLeftShift}, {SDL_SCANCODE_RSHIFT, KeyRightShift},
        {SDL_SCANCODE_LCTRL, KeyLeftControl}, {SDL_SCANCODE_RCTRL, KeyRightControl},
        {SDL_SCANCODE_LALT, KeyLeftAlt}, {SDL_SCANCODE_RALT, KeyRightAlt}, {SDL_SCANCODE_LGUI, KeyLeftSuper},
        {SDL_SCANCODE_RGUI, KeyRightSuper}, {SDL_SCANCODE_TAB, KeyTab},
        {SDL_SCANCODE_BACKSPACE, KeyBackspace}, {SDL_SCANCODE_INSERT, KeyInsert},
        {SDL_SCANCODE_DELETE, KeyDelete}, {SDL_SCANCODE_HOME, KeyHome}, {SDL_SCANCODE_END, KeyEnd},
        {SDL_SCANCODE_PAGEUP, KeyPageUp}, {SDL_SCANCODE_PAGEDOWN, KeyPageDown},
        {SDL_SCANCODE_CAPSLOCK, KeyCapsLock}, {SDL_SCANCODE_NUMLOCKCLEAR, KeyNumLock},
        {SDL_SCANCODE_SCROLLLOCK, KeyScrollLock}, {SDL_SCANCODE_PRINTSCREEN, KeyPrintScreen},
        {SDL_SCANCODE_PAUSE, KeyPause}, {SDL_SCANCODE_APPLICATION, KeyMenu}, {SDL_SCANCODE_MINUS, KeyMinus},
        {SDL_SCANCODE_EQUALS, KeyEquals}, {SDL_SCANCODE_LEFTBRACKET, KeyLeftBracket},
        {SDL_SCANCODE_RIGHTBRACKET, KeyRightBracket}, {SDL_SCANCODE_BACKSLASH, KeyBackslash},
        {SDL_SCANCODE_SEMICOLON, KeySemicolon}, {SDL_SCANCODE_APOSTROPHE, KeyApostrophe},
        {SDL_SCANCODE_GRAVE, KeyGrave}, {SDL_SCANCODE_COMMA, KeyComma}, {SDL_SCANCODE_PERIOD, KeyPeriod},
        {SDL_SCANCODE_SLASH, KeySlash}, {SDL_SCANCODE_NONUSBACKSLASH, KeyNonUsBackslash},
        {SDL_SCANCODE_KP_0, Keypad0}, {SDL_SCANCODE_KP_PERIOD, KeypadPeriod},
        {SDL_SCANCODE_KP_DIVIDE, KeypadDivide}, {SDL_SCANCODE_KP_MULTIPLY, KeypadMultiply},
        {SDL_SCANCODE_KP_MINUS, KeypadMinus}, {SDL_SCANCODE_KP_PLUS, KeypadPlus},
        {SDL_SCANCODE_KP_ENTER, KeypadEnter}, {SDL_SCANCODE_KP_EQUALS, KeypadEquals},
    };
    // clang-format on
    for (const auto& [position, key] : kByPosition) {
        if (position == scancode) {
            return key;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<Key> TranslateKey(int keycode, int scancode)
{
    using namespace Marrowgate::Application;
    if (keycode >= SDLK_a && keycode <= SDLK_z) {
        return static_cast<Key>(KeyA + (keycode - SDLK_a));
    }
    switch (keycode) {
    case SDLK_SPACE:
        return KeySpace;
    case SDLK_ESCAPE:
        return KeyEscape;
    case SDLK_RETURN:
        return KeyEnter;
    case SDLK_UP:
        return KeyUp;
    case SDLK_DOWN:
        return KeyDown;
    case SDLK_LEFT:
        return KeyLeft;
    case SDLK_RIGHT:
        return KeyRight;
    default:
        return KeyAtPosition(scancode);
    }
}

std::filesystem::path GetExecutableDirectory()
{
    char* basePath = SDL_GetBasePath();
    if (basePath == nullptr) {
        return {};
    }
    std::filesystem::path directory(basePath);
    SDL_free(basePath);
    // SDL ends the folder with a separator; reports read better without it.
    return directory.has_filename() ? directory : directory.parent_path();
}

PlatformInterface& GetPlatform()
{
    return gInstalledPlatform != nullptr ? *gInstalledPlatform : TheSdlPlatform();
}

void SetPlatform(PlatformInterface* platform)
{
    gInstalledPlatform = platform;
}

} // namespace mgImplementation
