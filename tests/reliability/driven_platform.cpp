#include "driven_platform.h"

#include "marrowgate/core/mg_frame_timer.h"

namespace QuorvaneReliability {
namespace {

constexpr std::int64_t kTicksPerSecond = 1'000'000'000;

std::int64_t& FakeTicks()
{
    static std::int64_t ticks = 0;
    return ticks;
}

void InstallFakeCounter()
{
    Marrowgate::Core::SetCounterSource(
        {[]() -> std::int64_t { return FakeTicks(); }, []() -> std::int64_t { return kTicksPerSecond; }});
}

} // namespace

DrivenPlatform::DrivenPlatform(mgImplementation::PlatformInterface& real, double secondsPerFrame)
    : mReal(real), mSecondsPerFrame(secondsPerFrame)
{}

bool DrivenPlatform::Initialize(std::string& reason)
{
    const bool initialized = mReal.Initialize(reason);
    InstallFakeCounter();
    return initialized;
}

void DrivenPlatform::PressKey(Marrowgate::Application::Key key)
{
    mQueued.push_back({mgImplementation::PlatformEventType::kKeyDown, key, false});
}

void DrivenPlatform::ReleaseKey(Marrowgate::Application::Key key)
{
    mQueued.push_back({mgImplementation::PlatformEventType::kKeyUp, key, false});
}

void DrivenPlatform::RequestClose()
{
    mQueued.push_back(
        {mgImplementation::PlatformEventType::kCloseRequested, Marrowgate::Application::Key0, false});
}

void DrivenPlatform::ToggleFullScreen()
{
    mQueued.push_back(
        {mgImplementation::PlatformEventType::kToggleFullScreen, Marrowgate::Application::Key0, false});
}

double DrivenPlatform::GetFakeSeconds()
{
    return static_cast<double>(FakeTicks()) / kTicksPerSecond;
}

bool DrivenPlatform::PollEvent(mgImplementation::PlatformEvent& event)
{
    // The window system's own events still arrive (exposure, focus); its key events cannot
    // occur on a display nobody types on, and scripted ones follow them.
    if (mReal.PollEvent(event)) {
        return true;
    }
    if (mQueued.empty()) {
        return false;
    }
    event = mQueued.front();
    mQueued.pop_front();
    return true;
}

Marrowgate::Application::MousePosition DrivenPlatform::GetCursorPosition()
{
    ++mPassCount;
    FakeTicks() += static_cast<std::int64_t>(mSecondsPerFrame * kTicksPerSecond + 0.5);
    if (mPassCallback) {
        mPassCallback();
    }
    return mReal.GetCursorPosition();
}

DrivenPlatformScope::DrivenPlatformScope(double secondsPerFrame)
    : mPlatform(mgImplementation::GetPlatform(), secondsPerFrame)
{
    FakeTicks() = 0;
    InstallFakeCounter();
    mgImplementation::SetPlatform(&mPlatform);
}

DrivenPlatformScope::~DrivenPlatformScope()
{
    mgImplementation::SetPlatform(nullptr);
    Marrowgate::Core::SetCounterSource({});
}

} // namespace QuorvaneReliability
