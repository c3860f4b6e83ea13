#include "marrowgate/application/implementation/sdl/mgi_realtime_sdl_application.h"

#include "marrowgate/application/implementation/mgi_platform.h"
#include "marrowgate/application/implementation/sdl/mgi_full_screen.h"
#include "marrowgate/application/mg_input.h"
#include "marrowgate/core/mg_error.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/mg_screen.h"

#ifdef __EMSCRIPTEN__
#include "marrowgate/application/implementation/web/mgi_web_page.h"
#endif

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace mgImplementation {
namespace {

constexpr char kUnitName[] = "mgi_realtime_sdl_application";

using Marrowgate::Application::ApplicationHandlerInterface;
using Marrowgate::Application::WindowMode;
using Marrowgate::Application::WindowProperties;

struct ApplicationState
{
    ApplicationHandlerInterface* handler = nullptr;
    bool applicationOpen = false;
    bool running = false;
    bool windowCreated = false;
    // Set when the window is destroyed; the loop ends when it sees it, as with a quit message.
    bool quitPosted = false;
    // Minimised or unmapped: nothing is drawn or simulated until the window is back.
    bool hidden = false;
    std::optional<mgImplementation::Resolution> initialDesktop;
    // Vertical sync was asked for but refused: the loop sleeps out the rest of each frame.
    bool pacing = false;
    double framePeriod = 0.0;
    double nextFrameTime = 0.0;
    // The shortest frame the application asked for (0: no cap); a setting kept across windows.
    double cappedFramePeriod = 0.0;
};

ApplicationState& State()
{
    static ApplicationState state;
    return state;
}

// Without a window or a context nothing after this point can work, and the error handler is
// not registered yet, so a report alone would let the program run on into a crash.
[[noreturn]] void AbortStartup(const std::string& reason)
{
    std::fprintf(stderr, "marrowgate: %s\n", reason.c_str());
    std::exit(EXIT_FAILURE);
}

void ResolveWindowProperties(WindowProperties& properties)
{
    if (properties.mode != WindowMode::kWindowed && properties.width == 0 && properties.height == 0) {
        if (const std::optional<Resolution> desktop = GetPlatform().GetDesktopResolution()) {
            properties.width = static_cast<std::uint16_t>(desktop->width);
            properties.height = static_cast<std::uint16_t>(desktop->height);
        }
        properties.x = 0;
        properties.y = 0;
    }
}

// False when a display change failed; the window then keeps the style it was created with.
bool ChangeDisplay(Resolution resolution)
{
    const int result = GetPlatform().ChangeDisplayResolution(resolution);
    MG_ERROR_IF(result != 0, "mgInternalError: The display settings did not change successfully. Error: %d",
                result);
    return result == 0;
}

// False when a display change failed and the window kept the style it had.
bool ApplyDisplaySettings(const WindowProperties& properties)
{
    PlatformInterface& platform = GetPlatform();
    ApplicationState& state = State();
    const std::optional<Resolution> current = platform.GetDesktopResolution();
    if (!state.initialDesktop) {
        state.initialDesktop = current;
    }
    if (properties.mode != WindowMode::kFullScreen && current && state.initialDesktop &&
        *current != *state.initialDesktop && !ChangeDisplay(*state.initialDesktop)) {
        return false;
    }
    if (properties.mode == WindowMode::kFullScreen && !ChangeDisplay({properties.width, properties.height})) {
        return false;
    }
    platform.SetWindowStyle(properties.mode, properties.width, properties.height);
    return true;
}

void FitAndCentreWindow(const WindowProperties& properties)
{
    PlatformInterface& platform = GetPlatform();
    const Resolution client = platform.GetClientSize();
    platform.GrowWindow(properties.width - client.width, properties.height - client.height);

    const WindowFrame frame = platform.GetWindowFrame();
    const Resolution screen = platform.GetScreenSize();
    platform.MoveWindow((frame.left + screen.width - frame.right) / 2,
                        (frame.top + screen.height - frame.bottom) / 2);
}

// MARROWGATE_MULTISAMPLING=0 turns multisampling off everywhere; any other value asks for it
// even on a software rasteriser. Unset: the application's choice stands.
std::optional<bool> MultisamplingFromEnvironment()
{
    const char* setting = std::getenv("MARROWGATE_MULTISAMPLING");
    if (setting == nullptr) {
        return std::nullopt;
    }
    return std::string_view(setting) != "0";
}

// A rasteriser that runs on the CPU pays for every sample: on llvmpipe 4x multisampling costs a
// frame about fifteen times its fill.
bool IsSoftwareRenderer(std::string_view renderer)
{
    std::string lower(renderer);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char character) { return static_cast<char>(std::tolower(character)); });
    for (std::string_view name : {"llvmpipe", "softpipe", "swrast", "swiftshader"}) {
        if (lower.find(name) != std::string::npos) {
            return true;
        }
    }
    return false;
}

struct ContextRequest
{
    ContextProfile profile;
    int major;
    int minor;
};

bool TryVersionedContext(const ContextRequest& request)
{
    if (request.profile == ContextProfile::kEmbedded && request.major != 2) {
        MG_ERROR("mgInternalError: This context is unsupported at the preset time.");
        return false;
    }
    return GetPlatform().CreateVersionedContext(request.profile, request.major, request.minor);
}

void SetUpVerticalSync(bool verticalSync)
{
    PlatformInterface& platform = GetPlatform();
    ApplicationState& state = State();
    state.pacing = false;
    if (platform.SetSwapInterval(verticalSync ? 1 : 0) == SwapIntervalResult::kSet) {
        return;
    }
    MG_ERROR_IF(!verticalSync, "mgInternalError: Could not set GL to be free from vertical sync");
    if (verticalSync) {
        const int refreshRate = platform.GetRefreshRate();
        state.pacing = true;
        state.framePeriod = 1.0 / (refreshRate > 0 ? refreshRate : 60);
        state.nextFrameTime = platform.GetSeconds() + state.framePeriod;
    }
}

#ifdef __EMSCRIPTEN__
// A canvas keeps the first kind of context made on it, so there is no legacy context to start
// from: WebGL 2 (OpenGL ES 3.0) where the browser offers it, else WebGL 1 (OpenGL ES 2.0). Both
// run the renderer's ES 2.0 set-up, whose shaders WebGL 2 accepts as they are.
void CreateContext(const WindowProperties& properties)
{
    PlatformInterface& platform = GetPlatform();
    if (!platform.CreateVersionedContext(ContextProfile::kEmbedded, 3, 0) &&
        !platform.CreateVersionedContext(ContextProfile::kEmbedded, 2, 0)) {
        MG_ERROR("mgInternalError: Was unable to create OpenGL Context.");
        AbortStartup("WebGL is not available: this browser gave the page neither a WebGL 2 nor a WebGL 1 "
                     "context (it may be switched off, or the graphics driver is blocked)");
    }
    Marrowgate::Graphics::SetEmbeddedProfile(true);
    Marrowgate::Graphics::SetFixedFunctionMode(false);
    platform.InitializeLoader();
    SetUpVerticalSync(properties.verticalSync);
    platform.ClearFrame(0.0f, 0.0f, 0.0f, 0.0f);
}
#else
void CreateContext(const WindowProperties& properties)
{
    PlatformInterface& platform = GetPlatform();
    if (!platform.CreateLegacyContext()) {
        MG_ERROR("mgInternalError: Was unable to create OpenGL Context.");
        AbortStartup("no OpenGL context could be created for the window");
    }
    const int loaderResult = platform.InitializeLoader();
    if (loaderResult != 0) {
        MG_ERROR("mgInternalError: Could not initialize glew. Error code: %s",
                 std::to_string(loaderResult).c_str());
        AbortStartup("OpenGL entry points could not be loaded (GLEW error " + std::to_string(loaderResult) +
                     ")");
    }

    constexpr std::array<ContextRequest, 3> kRequests{{
        {ContextProfile::kCore, 3, 2},
        {ContextProfile::kCompatible, 3, 2},
        {ContextProfile::kEmbedded, 2, 0},
    }};
    std::optional<ContextProfile> obtained;
    for (const ContextRequest& request : kRequests) {
        if (TryVersionedContext(request)) {
            obtained = request.profile;
            break;
        }
    }
    // Both flags are written on every open so a later open in the same process starts clean.
    Marrowgate::Graphics::SetEmbeddedProfile(obtained == ContextProfile::kEmbedded);
    Marrowgate::Graphics::SetFixedFunctionMode(!obtained.has_value());

    const int reloadResult = platform.InitializeLoader();
    if (reloadResult != 0) {
        MG_ERROR("mgInternalError: Could not reinitialize glew. Error code: %s",
                 std::to_string(reloadResult).c_str());
        return;
    }
    SetUpVerticalSync(properties.verticalSync);
    platform.ClearFrame(0.0f, 0.0f, 0.0f, 0.0f);
    platform.SwapBuffers();
    platform.SwapBuffers();
}
#endif

// A context the renderer cannot draw with would crash at the first frame on a missing entry point.
void RequireDrawingSupport()
{
    const std::string missing = Marrowgate::Graphics::FindMissingOpenGLSupport();
    if (missing.empty()) {
        return;
    }
    const std::string fallback = Marrowgate::Graphics::IsFixedFunctionMode()
                                     ? "no OpenGL 3.2 or OpenGL ES 2.0 context could be created, and "
                                     : "";
    AbortStartup("no usable OpenGL context: " + fallback + "the context's OpenGL \"" +
                 GetPlatform().DescribeContext().version + "\" lacks " + missing);
}

void CreateWindow(const WindowProperties& properties)
{
    ApplicationState& state = State();
    MG_ERROR_IF(state.windowCreated, "mgInternalError: Expected window handle to be unused at this moment.");
    state.windowCreated = GetPlatform().CreateWindow(properties);
    if (!state.windowCreated) {
        MG_ERROR("mgInternalError, Expected window handle to be valid.");
        AbortStartup("the window could not be created");
    }
}

// Hiding and showing arrive more than once for one change (minimised and unmapped); the handler
// hears of each change once.
void SetHidden(ApplicationHandlerInterface& handler, bool hidden)
{
    ApplicationState& state = State();
    if (state.hidden == hidden) {
        return;
    }
    state.hidden = hidden;
    if (hidden) {
        handler.OnWindowHidden();
    } else {
        handler.OnWindowShown();
    }
}

void HandleEvent(const PlatformEvent& event)
{
    using Marrowgate::Application::Key;
    ApplicationState& state = State();
    if (state.handler == nullptr) {
        MG_ERROR("mgInternalError: Expected to have a valid ApplicationHandler at this moment.");
        return;
    }
    switch (event.type) {
    case PlatformEventType::kCloseRequested:
        CloseApplication(*state.handler);
        break;
    case PlatformEventType::kBecomeActive:
        state.handler->OnBecomeActive();
        break;
    case PlatformEventType::kBecomeInactive:
        state.handler->OnBecomeInactive();
        break;
    case PlatformEventType::kExposed:
        GetPlatform().SwapBuffers();
        break;
    case PlatformEventType::kKeyDown:
        OnKeyDown(event.key, event.isRepeat);
        break;
    case PlatformEventType::kKeyUp:
        OnKeyUp(event.key);
        break;
    case PlatformEventType::kButtonDown:
        OnKeyDown(event.key, false);
        GetPlatform().CaptureMouse(true);
        break;
    case PlatformEventType::kButtonUp:
        OnKeyUp(event.key);
        GetPlatform().CaptureMouse(false);
        break;
    case PlatformEventType::kControllerButtonDown:
    case PlatformEventType::kControllerButtonUp:
        OnControllerButton(event.controller, event.key,
                           event.type == PlatformEventType::kControllerButtonDown);
        break;
    case PlatformEventType::kControllerStick:
        OnControllerStick(event.controller, event.stickAxis, event.stickPosition);
        break;
    case PlatformEventType::kControllerRemoved:
        OnControllerRemoved(event.controller);
        break;
    case PlatformEventType::kHidden:
    case PlatformEventType::kShown:
        SetHidden(*state.handler, event.type == PlatformEventType::kHidden);
        break;
    case PlatformEventType::kResized:
        AdoptDrawableSize();
        break;
    case PlatformEventType::kToggleFullScreen:
        SetFullScreen(!IsFullScreen());
        break;
    case PlatformEventType::kMouseWheel:
        OnMouseWheel(event.key);
        break;
    // Text queued before input was switched off is not wanted any more.
    case PlatformEventType::kTextInput:
        if (Marrowgate::Application::IsTextInputEnabled()) {
            state.handler->OnTextInput(event.text);
        }
        break;
    case PlatformEventType::kTextComposition:
        if (Marrowgate::Application::IsTextInputEnabled()) {
            state.handler->OnTextComposition(event.text, event.compositionCursor, event.compositionSelection);
        }
        break;
    }
}

void DrainEvents()
{
    ApplicationState& state = State();
    PlatformEvent event;
    while (GetPlatform().PollEvent(event)) {
        // Events that were queued behind the window's destruction have no window to go to.
        if (!state.quitPosted) {
            HandleEvent(event);
        }
    }
    if (state.quitPosted) {
        state.running = false;
    }
}

// Sleeps out the rest of the frame when the driver refused vertical sync, so the loop does
// not spin a whole core presenting frames nobody can see, and when the application capped the
// frame rate (a laptop on battery).
void PaceFrame()
{
    ApplicationState& state = State();
    const double period = std::max(state.pacing ? state.framePeriod : 0.0, state.cappedFramePeriod);
    if (period <= 0.0) {
        return;
    }
    PlatformInterface& platform = GetPlatform();
    const double now = platform.GetSeconds();
    if (now < state.nextFrameTime) {
        platform.Sleep(state.nextFrameTime - now);
        state.nextFrameTime += period;
    } else {
        state.nextFrameTime = now + period;
    }
}

void OpenWindowAndContext(const WindowProperties& properties)
{
    CreateWindow(properties);
    GetPlatform().SetTextInput(Marrowgate::Application::IsTextInputEnabled());
    const bool styled = ApplyDisplaySettings(properties);
    AdoptOpeningMode(styled ? properties.mode : WindowMode::kWindowed);
    FitAndCentreWindow(properties);
    CreateContext(properties);
}

} // namespace

void OpenApplication(ApplicationHandlerInterface& applicationHandler)
{
    ApplicationState& state = State();
    MG_ERROR_IF(state.applicationOpen,
                "mgExternalError: Marrowgate currently supports only a single application at a time.");
    MG_ERROR_IF(state.handler != nullptr,
                "mgInternalError: Expected application handler to be null at this moment.");
    MG_ERROR_IF(state.running, "mgInternalError: Expected application not to be running at this moment.");
    if (state.applicationOpen) {
        // A second window would share this one's state; refuse it outright.
        return;
    }
    state.applicationOpen = true;
    state.handler = &applicationHandler;
    state.quitPosted = false;
    state.hidden = false;

    WindowProperties properties;
    applicationHandler.CollectWindowProperties(properties);
    const std::optional<bool> multisamplingAskedFor = MultisamplingFromEnvironment();
    properties.multisampling = multisamplingAskedFor.value_or(properties.multisampling);

    std::string reason;
    if (!GetPlatform().Initialize(reason)) {
        AbortStartup(reason);
    }
    ResolveWindowProperties(properties);
    Marrowgate::Graphics::SetScreenSize(properties.width, properties.height);
    OpenWindowAndContext(properties);
    if (properties.multisampling && !multisamplingAskedFor &&
        IsSoftwareRenderer(GetPlatform().DescribeContext().renderer)) {
        // The window's visual fixes multisampling for its whole life: only a new window sheds it.
        // It is still hidden, so the user sees nothing of this.
        GetPlatform().DestroyContext();
        GetPlatform().DestroyWindow();
        state.windowCreated = false;
        properties.multisampling = false;
        OpenWindowAndContext(properties);
    }
    AdoptDrawableSize();
    if (GetPlatform().DrawsWithOpenGL()) {
        RequireDrawingSupport();
        Marrowgate::Graphics::InitializeRenderer();
    }
    std::fprintf(stderr, "%s\n", DescribeStartup().c_str());

    applicationHandler.OnGraphicsContextCreated();
    applicationHandler.OnWindowOpen();
    GetPlatform().ShowWindow();
}

void RunApplication(ApplicationHandlerInterface& applicationHandler)
{
    ApplicationState& state = State();
    MG_ERROR_IF(&applicationHandler != state.handler,
                "mgInternalError: applicationHandler changed from Open() to Run().");
    PlatformInterface& platform = GetPlatform();
    state.running = true;
    while (true) {
        BeginInputFrame();
        const Marrowgate::Application::MousePosition cursor = platform.GetCursorPosition();
        RecordMousePosition(cursor.x, cursor.y);
        DrainEvents();
        if (!state.running) {
            break;
        }
        if (state.hidden) {
            // Nobody can see a frame: sleep in the window system until something happens.
#ifdef __EMSCRIPTEN__
            WaitForAnimationFrame();
#else
            platform.WaitForEvent();
#endif
            continue;
        }
        if (state.handler != nullptr) {
            state.handler->OnRealtimeUpdate();
        }
        if (Marrowgate::Graphics::IsRendererReady()) {
            platform.SwapBuffers();
        }
        PaceFrame();
#ifdef __EMSCRIPTEN__
        // The browser shows the frame, and delivers input, only once it has control again.
        WaitForAnimationFrame();
#endif
    }
}

void CloseApplication(ApplicationHandlerInterface& applicationHandler)
{
    ApplicationState& state = State();
    MG_ERROR_IF(&applicationHandler != state.handler,
                "mgInternalError: applicationHandler changed from Open() to Close().");
    if (!state.applicationOpen) {
        return;
    }
    PlatformInterface& platform = GetPlatform();
    applicationHandler.OnGraphicsContextDestroyed();
    if (Marrowgate::Graphics::IsRendererReady()) {
        Marrowgate::Graphics::CleanupRenderer();
    }
    platform.DestroyContext();
    ForgetFullScreen();
    platform.DestroyWindow();
    state.windowCreated = false;
    applicationHandler.OnWindowClose();
    state.quitPosted = true;
    platform.Shutdown();

    state.running = false;
    state.applicationOpen = false;
    state.handler = nullptr;
}

void SetApplicationWindowTitle(const std::string& title)
{
    GetPlatform().SetWindowTitle(title);
}

void ShowInDefaultWindow()
{
    const WindowProperties windowed;
    ApplyDisplaySettings(windowed);
    FitAndCentreWindow(windowed);
}

void SetFrameRateCap(int framesPerSecond)
{
    MG_ERROR_IF(framesPerSecond < 0,
                "mgExternalError: Expected a frame rate cap of 0 (none) or more, not %d.", framesPerSecond);
    if (framesPerSecond >= 0) {
        State().cappedFramePeriod = framesPerSecond > 0 ? 1.0 / framesPerSecond : 0.0;
    }
}

bool IsApplicationOpen()
{
    return State().applicationOpen;
}

// The drawable can be larger than the client area on a scaled desktop; drawing covers it all.
void AdoptDrawableSize()
{
    PlatformInterface& platform = GetPlatform();
    const Resolution drawable = platform.GetDrawableSize();
    platform.SetViewport(drawable);
    Marrowgate::Graphics::ForgetGLState(); // the renderer reads the new viewport when it next needs it
    Marrowgate::Graphics::SetScreenSize(static_cast<std::uint16_t>(drawable.width),
                                        static_cast<std::uint16_t>(drawable.height));
}

std::string DescribeStartup()
{
    const ContextDescription context = GetPlatform().DescribeContext();
    const char* setUp = Marrowgate::Graphics::IsFixedFunctionMode() ? "fixed-function"
                        : Marrowgate::Graphics::IsEmbeddedProfile() ? "embedded shaders"
                                                                    : "desktop shaders";
    return "marrowgate: video driver \"" + context.videoDriver + "\", OpenGL \"" + context.version +
           "\" on \"" + context.renderer + "\", renderer set-up: " + setUp;
}

} // namespace mgImplementation
