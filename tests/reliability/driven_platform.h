#pragma once
// A window system for driving the real game from a program: every duty goes to the real
// platform (a real window, a real OpenGL context), but time and input come from the driver.
//
// Each pass of the main loop advances a fake clock by a fixed frame time, so the game runs the
// same number of fixed steps per frame however slow the machine is, and a per-pass callback
// lets the driver look at the game, queue key events and measure the pass. Scripted events
// are delivered after the window system's own. Used by the soak test and the frame-cost
// benchmark; one scope at a time.

#include "marrowgate/application/implementation/mgi_platform.h"

#include <cstdint>
#include <deque>
#include <functional>

namespace QuorvaneReliability {

class DrivenPlatform final : public mgImplementation::PlatformInterface
{
public:
    DrivenPlatform(mgImplementation::PlatformInterface& real, double secondsPerFrame);

    // Runs at the start of every pass of the main loop, before the pass reads its events.
    void SetPassCallback(std::function<void()> callback) { mPassCallback = std::move(callback); }
    void PressKey(Marrowgate::Application::Key key);
    void ReleaseKey(Marrowgate::Application::Key key);
    // The same as the user closing the window.
    void RequestClose();
    // The same as the user pressing F11.
    void ToggleFullScreen();
    std::uint64_t GetPassCount() const { return mPassCount; }
    // Fake seconds since the scope was installed.
    static double GetFakeSeconds();

    // The real platform installs its own frame counter here; the fake one replaces it.
    bool Initialize(std::string& reason) override;
    void Shutdown() override { mReal.Shutdown(); }
    std::optional<mgImplementation::Resolution> GetDesktopResolution() override
    {
        return mReal.GetDesktopResolution();
    }
    int ChangeDisplayResolution(mgImplementation::Resolution resolution) override
    {
        return mReal.ChangeDisplayResolution(resolution);
    }
    mgImplementation::Resolution GetScreenSize() override { return mReal.GetScreenSize(); }
    bool CreateWindow(const Marrowgate::Application::WindowProperties& properties) override
    {
        return mReal.CreateWindow(properties);
    }
    void SetWindowStyle(Marrowgate::Application::WindowMode mode, int width, int height) override
    {
        mReal.SetWindowStyle(mode, width, height);
    }
    mgImplementation::Resolution GetClientSize() override { return mReal.GetClientSize(); }
    mgImplementation::WindowFrame GetWindowFrame() override { return mReal.GetWindowFrame(); }
    void GrowWindow(int extraWidth, int extraHeight) override { mReal.GrowWindow(extraWidth, extraHeight); }
    void MoveWindow(int left, int top) override { mReal.MoveWindow(left, top); }
    void ShowWindow() override { mReal.ShowWindow(); }
    void DestroyWindow() override { mReal.DestroyWindow(); }
    void SetWindowTitle(const std::string& title) override { mReal.SetWindowTitle(title); }
    mgImplementation::Resolution GetDrawableSize() override { return mReal.GetDrawableSize(); }
    bool CreateLegacyContext() override { return mReal.CreateLegacyContext(); }
    bool CreateVersionedContext(mgImplementation::ContextProfile profile, int major, int minor) override
    {
        return mReal.CreateVersionedContext(profile, major, minor);
    }
    int InitializeLoader() override { return mReal.InitializeLoader(); }
    mgImplementation::SwapIntervalResult SetSwapInterval(int interval) override
    {
        return mReal.SetSwapInterval(interval);
    }
    void SetViewport(mgImplementation::Resolution size) override { mReal.SetViewport(size); }
    void ClearFrame(float red, float green, float blue, float alpha) override
    {
        mReal.ClearFrame(red, green, blue, alpha);
    }
    void DestroyContext() override { mReal.DestroyContext(); }
    mgImplementation::ContextDescription DescribeContext() override { return mReal.DescribeContext(); }
    void SwapBuffers() override { mReal.SwapBuffers(); }
    int GetRefreshRate() override { return mReal.GetRefreshRate(); }

    bool PollEvent(mgImplementation::PlatformEvent& event) override;
    // The loop reads the cursor once at the start of every pass: that is where a pass begins.
    Marrowgate::Application::MousePosition GetCursorPosition() override;
    void SetCursorPosition(int x, int y) override { mReal.SetCursorPosition(x, y); }
    void CaptureMouse(bool captured) override { mReal.CaptureMouse(captured); }

    double GetSeconds() override { return GetFakeSeconds(); }
    // Fake time does not pass while sleeping; a paced loop must not wait for it.
    void Sleep(double) override {}

    bool ShowMessageBox(const std::string& title, const std::string& message, bool withCancel) override
    {
        return mReal.ShowMessageBox(title, message, withCancel);
    }
    bool SetDesktopFullScreen(bool fullScreen, std::string& reason) override
    {
        return mReal.SetDesktopFullScreen(fullScreen, reason);
    }
    void WaitForEvent() override { mReal.WaitForEvent(); }
    void SetWindowIcon(int width, int height, std::span<const unsigned char> rgbaPixels) override
    {
        mReal.SetWindowIcon(width, height, rgbaPixels);
    }

private:
    mgImplementation::PlatformInterface& mReal;
    double mSecondsPerFrame;
    std::function<void()> mPassCallback;
    std::deque<mgImplementation::PlatformEvent> mQueued;
    std::uint64_t mPassCount = 0;
};

// Installs a driven platform over the real one together with the fake clock; both are
// restored when the scope ends. Create it before the GameApplication.
class DrivenPlatformScope
{
public:
    explicit DrivenPlatformScope(double secondsPerFrame);
    ~DrivenPlatformScope();
    DrivenPlatformScope(const DrivenPlatformScope&) = delete;
    DrivenPlatformScope& operator=(const DrivenPlatformScope&) = delete;

    DrivenPlatform& GetPlatform() { return mPlatform; }

private:
    DrivenPlatform mPlatform;
};

} // namespace QuorvaneReliability
