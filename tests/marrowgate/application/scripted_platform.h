#pragma once
// A window system for tests: no display, a clock that moves only when the script says, and
// window events delivered pass by pass. Every platform call is appended to a shared log, so a
// test can check the order of platform calls and handler callbacks together.
//
// Install it with a ScriptedPlatformScope; the scope also installs the fake clock counter and
// resets the raw input state, and restores the real platform and clock when it ends.

#include "marrowgate/application/implementation/mgi_platform.h"
#include "marrowgate/core/mg_frame_timer.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace QuorvaneTest {

using mgImplementation::ContextProfile;
using mgImplementation::PlatformEvent;
using mgImplementation::PlatformEventType;
using mgImplementation::Resolution;

// One pass of the main loop: how much time went by before it, and the events it finds.
struct ScriptedPass
{
    double secondsBefore = 0.01;
    std::vector<PlatformEvent> events;
};

inline PlatformEvent KeyDownEvent(Marrowgate::Application::Key key, bool isRepeat = false)
{
    return {PlatformEventType::kKeyDown, key, isRepeat};
}

inline PlatformEvent KeyUpEvent(Marrowgate::Application::Key key)
{
    return {PlatformEventType::kKeyUp, key, false};
}

inline PlatformEvent ControllerButtonEvent(int controller, Marrowgate::Application::Key button, bool down)
{
    PlatformEvent event{
        down ? PlatformEventType::kControllerButtonDown : PlatformEventType::kControllerButtonUp, button};
    event.controller = controller;
    return event;
}

inline PlatformEvent ControllerStickEvent(int controller, mgImplementation::StickAxis axis, float position)
{
    PlatformEvent event{PlatformEventType::kControllerStick};
    event.controller = controller;
    event.stickAxis = axis;
    event.stickPosition = position;
    return event;
}

inline PlatformEvent ControllerRemovedEvent(int controller)
{
    PlatformEvent event{PlatformEventType::kControllerRemoved};
    event.controller = controller;
    return event;
}

inline PlatformEvent TextEvent(const std::string& text)
{
    PlatformEvent event{PlatformEventType::kTextInput};
    event.text = text;
    return event;
}

inline PlatformEvent CompositionEvent(const std::string& text, int cursor, int selection)
{
    PlatformEvent event{PlatformEventType::kTextComposition};
    event.text = text;
    event.compositionCursor = cursor;
    event.compositionSelection = selection;
    return event;
}

inline PlatformEvent WheelEvent(Marrowgate::Application::Key direction)
{
    PlatformEvent event{PlatformEventType::kMouseWheel};
    event.key = direction;
    return event;
}

inline PlatformEvent WindowEvent(PlatformEventType type)
{
    return PlatformEvent{type};
}

inline PlatformEvent CloseEvent()
{
    return {PlatformEventType::kCloseRequested, Marrowgate::Application::Key0, false};
}

class FakeClock
{
public:
    static constexpr std::int64_t kFrequency = 1'000'000'000;
    static std::int64_t& Ticks()
    {
        static std::int64_t ticks = 0;
        return ticks;
    }
    static void Advance(double seconds) { Ticks() += static_cast<std::int64_t>(seconds * kFrequency + 0.5); }
    static double Seconds() { return static_cast<double>(Ticks()) / kFrequency; }
    static void Install()
    {
        Marrowgate::Core::SetCounterSource(
            {[]() -> std::int64_t { return Ticks(); }, []() -> std::int64_t { return kFrequency; }});
    }
};

class ScriptedPlatform : public mgImplementation::PlatformInterface
{
public:
    // What the scripted window system offers.
    bool hasDisplay = true;
    Resolution desktop{1920, 1080};
    int displayChangeResult = 0;
    bool legacyContextWorks = true;
    std::set<ContextProfile> supportedProfiles{ContextProfile::kCore, ContextProfile::kCompatible,
                                               ContextProfile::kEmbedded};
    std::deque<int> loaderResults;
    bool swapIntervalSupported = true;
    int refreshRate = 50;
    // Decorations the window system adds around the client area; the window is created with
    // its outer size equal to the request, as a classic window system does.
    int borderWidth = 0;
    int titleHeight = 0;
    int pixelScale = 1;
    bool messageBoxAnswer = true;
    bool fullScreenRefused = false;
    std::string rendererName = "nothing";

    std::deque<ScriptedPass> script;
    // Called at the start of every pass, before it reads its events: the previous pass's
    // results are there to look at.
    std::function<void()> onPass;
    std::vector<std::string>& log;

    explicit ScriptedPlatform(std::vector<std::string>& sharedLog) : log(sharedLog) {}

    // Results a test reads.
    Marrowgate::Application::WindowProperties createdWith;
    Marrowgate::Application::WindowMode style = Marrowgate::Application::WindowMode::kWindowed;
    int outerLeft = 0;
    int outerTop = 0;
    int outerWidth = 0;
    int outerHeight = 0;
    std::string title;
    bool windowShown = false;
    bool mouseCaptured = false;
    int swaps = 0;
    int clears = 0;
    std::vector<double> sleeps;
    int passes = 0;
    bool fullScreen = false;
    bool textInput = false;
    int waits = 0;
    // Runs inside every wait for events, while the loop is idle.
    std::function<void()> onWait;

    bool Initialize(std::string& reason) override
    {
        log.push_back("platform Initialize");
        reason = "scripted: no display";
        return hasDisplay;
    }
    void Shutdown() override { log.push_back("platform Shutdown"); }

    std::optional<Resolution> GetDesktopResolution() override { return desktop; }
    int ChangeDisplayResolution(Resolution resolution) override
    {
        log.push_back("ChangeDisplayResolution " + std::to_string(resolution.width) + "x" +
                      std::to_string(resolution.height));
        if (displayChangeResult == 0) {
            desktop = resolution;
        }
        return displayChangeResult;
    }
    Resolution GetScreenSize() override { return desktop; }

    bool CreateWindow(const Marrowgate::Application::WindowProperties& properties) override
    {
        log.push_back("CreateWindow");
        createdWith = properties;
        outerLeft = properties.x;
        outerTop = properties.y;
        outerWidth = properties.width;
        outerHeight = properties.height;
        return true;
    }
    void SetWindowStyle(Marrowgate::Application::WindowMode mode, int width, int height) override
    {
        log.push_back("SetWindowStyle");
        style = mode;
        outerWidth = width;
        outerHeight = height;
        if (mode != Marrowgate::Application::WindowMode::kWindowed) {
            outerLeft = 0;
            outerTop = 0;
        }
    }
    Resolution GetClientSize() override
    {
        if (fullScreen) {
            return desktop;
        }
        return {outerWidth - Decorated() * 2 * borderWidth,
                outerHeight - Decorated() * (titleHeight + borderWidth)};
    }
    mgImplementation::WindowFrame GetWindowFrame() override
    {
        return {outerLeft, outerTop, outerLeft + outerWidth, outerTop + outerHeight};
    }
    void GrowWindow(int extraWidth, int extraHeight) override
    {
        outerWidth += extraWidth;
        outerHeight += extraHeight;
    }
    void MoveWindow(int left, int top) override
    {
        outerLeft = left;
        outerTop = top;
    }
    void ShowWindow() override
    {
        log.push_back("ShowWindow");
        windowShown = true;
    }
    void DestroyWindow() override { log.push_back("DestroyWindow"); }
    void SetWindowTitle(const std::string& newTitle) override { title = newTitle; }
    Resolution GetDrawableSize() override
    {
        const Resolution client = GetClientSize();
        return {client.width * pixelScale, client.height * pixelScale};
    }

    bool CreateLegacyContext() override
    {
        log.push_back("CreateLegacyContext");
        return legacyContextWorks;
    }
    bool CreateVersionedContext(ContextProfile profile, int major, int minor) override
    {
        log.push_back("CreateVersionedContext " + ProfileName(profile) + " " + std::to_string(major) + "." +
                      std::to_string(minor));
        return supportedProfiles.contains(profile);
    }
    int InitializeLoader() override
    {
        log.push_back("InitializeLoader");
        if (loaderResults.empty()) {
            return 0;
        }
        const int result = loaderResults.front();
        loaderResults.pop_front();
        return result;
    }
    mgImplementation::SwapIntervalResult SetSwapInterval(int interval) override
    {
        log.push_back("SetSwapInterval " + std::to_string(interval));
        return swapIntervalSupported ? mgImplementation::SwapIntervalResult::kSet
                                     : mgImplementation::SwapIntervalResult::kUnsupported;
    }
    void SetViewport(Resolution) override {}
    void ClearFrame(float /*red*/, float /*green*/, float /*blue*/, float /*alpha*/) override { ++clears; }
    void DestroyContext() override { log.push_back("DestroyContext"); }
    mgImplementation::ContextDescription DescribeContext() override
    {
        return {"scripted", "3.2 scripted", rendererName};
    }
    void SwapBuffers() override { ++swaps; }
    int GetRefreshRate() override { return refreshRate; }

    bool PollEvent(PlatformEvent& event) override
    {
        if (pending.empty()) {
            return false;
        }
        event = pending.front();
        pending.pop_front();
        return true;
    }
    // The loop reads the cursor once at the start of every pass: the pass begins here.
    Marrowgate::Application::MousePosition GetCursorPosition() override
    {
        ++passes;
        if (onPass) {
            onPass();
        }
        if (script.empty()) {
            // A script that ran out closes the window, so no test can loop forever.
            pending.push_back(CloseEvent());
            return cursor;
        }
        const ScriptedPass pass = script.front();
        script.pop_front();
        FakeClock::Advance(pass.secondsBefore);
        pending.insert(pending.end(), pass.events.begin(), pass.events.end());
        return cursor;
    }
    void SetCursorPosition(int x, int y) override { cursor = {x, y}; }
    void CaptureMouse(bool captured) override { mouseCaptured = captured; }

    double GetSeconds() override { return FakeClock::Seconds(); }
    void Sleep(double seconds) override
    {
        sleeps.push_back(seconds);
        FakeClock::Advance(seconds);
    }

    bool ShowMessageBox(const std::string& boxTitle, const std::string&, bool withCancel) override
    {
        log.push_back("ShowMessageBox " + boxTitle + (withCancel ? " with cancel" : ""));
        return messageBoxAnswer;
    }
    bool DrawsWithOpenGL() const override { return false; }
    bool SetDesktopFullScreen(bool wanted, std::string& reason) override
    {
        log.push_back(std::string("SetDesktopFullScreen ") + (wanted ? "on" : "off"));
        if (fullScreenRefused) {
            reason = "scripted refusal";
            return false;
        }
        fullScreen = wanted;
        return true;
    }
    void SetTextInput(bool enabled) override { textInput = enabled; }
    void WaitForEvent() override
    {
        ++waits;
        if (onWait) {
            onWait();
        }
    }

    Marrowgate::Application::MousePosition cursor;

private:
    static std::string ProfileName(ContextProfile profile)
    {
        return profile == ContextProfile::kCore         ? "core"
               : profile == ContextProfile::kCompatible ? "compatible"
                                                        : "es";
    }
    int Decorated() const { return style == Marrowgate::Application::WindowMode::kWindowed ? 1 : 0; }

    std::deque<PlatformEvent> pending;
};

class ScriptedPlatformScope
{
public:
    explicit ScriptedPlatformScope(ScriptedPlatform& platform)
    {
        FakeClock::Install();
        mgImplementation::ResetInputState();
        mgImplementation::SetPlatform(&platform);
    }
    ~ScriptedPlatformScope()
    {
        mgImplementation::SetPlatform(nullptr);
        Marrowgate::Core::SetCounterSource({});
    }
    ScriptedPlatformScope(const ScriptedPlatformScope&) = delete;
    ScriptedPlatformScope& operator=(const ScriptedPlatformScope&) = delete;
};

} // namespace QuorvaneTest
