#pragma once
/// The callbacks through which the realtime application tells its one handler what happens to
/// the window and when to run a frame. Every callback has an empty default, so a handler
/// overrides only what it needs. The slot order is fixed and must not change. @file

#include "marrowgate/application/mg_window_properties.h"

#include <string>

namespace Marrowgate::Application {

class ApplicationHandlerInterface
{
public:
    virtual ~ApplicationHandlerInterface() = default;

    // Once, at the end of Open, after OnGraphicsContextCreated and before the window shows.
    virtual void OnWindowOpen() {}
    // When the window is destroyed inside Close, just before the loop is told to stop.
    virtual void OnWindowClose() {}
    virtual void OnBecomeActive() {}
    virtual void OnBecomeInactive() {}
    // Once per pass of the main loop, after the pass's window events.
    virtual void OnRealtimeUpdate() {}
    // Never raised by the window layer; free for applications to talk to a delegate.
    virtual void OnNotifyA(int /*a*/, int /*b*/) {}
    virtual void OnNotifyB(int /*a*/, int /*b*/) {}
    // Once, at the start of Open, with default properties to fill in.
    virtual void CollectWindowProperties(WindowProperties& /*properties*/) {}
    // Once in Open, after the OpenGL context exists and the renderer is initialised.
    virtual void OnGraphicsContextCreated() {}
    // First thing in Close, while the context still exists.
    virtual void OnGraphicsContextDestroyed() {}
    // When the window is minimised or hidden, and when it is back on screen; no frames run in
    // between. Losing the keyboard focus alone is not hiding.
    virtual void OnWindowHidden() {}
    virtual void OnWindowShown() {}
    // While text input is on (SetTextInputEnabled): typed text, in UTF-8, and an input method's
    // composition so far, with the cursor and the selected length in code points.
    virtual void OnTextInput(const std::string& /*text*/) {}
    virtual void OnTextComposition(const std::string& /*text*/, int /*cursor*/, int /*selectionLength*/) {}
};

} // namespace Marrowgate::Application
