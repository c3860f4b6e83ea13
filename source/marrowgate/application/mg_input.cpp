#include "marrowgate/application/mg_input.h"

#include "marrowgate/application/implementation/mgi_platform.h"

#include <array>

namespace {

using Marrowgate::Application::Key;
using Marrowgate::Application::kKeyCount;
using Marrowgate::Application::MousePosition;

struct InputState
{
    std::array<bool, kKeyCount> current{};
    std::array<bool, kKeyCount> previous{};
    bool firstFrame = true;
    MousePosition mouse;
    MousePosition previousMouse;
};

InputState& State()
{
    static InputState state;
    return state;
}

// Keys come from the enumeration, but a cast integer could be anything; it must not index.
bool IsValid(Key key)
{
    return key >= 0 && key < kKeyCount;
}

} // namespace

namespace Marrowgate::Application {

bool IsKeyDown(Key key)
{
    return IsValid(key) && State().current[key];
}

bool IsKeyReleased(Key key)
{
    return IsValid(key) && !State().current[key] && State().previous[key];
}

MousePosition GetMousePosition()
{
    return State().mouse;
}

MousePosition GetPreviousMousePosition()
{
    return State().previousMouse;
}

void SetMousePosition(int x, int y)
{
    mgImplementation::GetPlatform().SetCursorPosition(x, y);
}

} // namespace Marrowgate::Application

namespace mgImplementation {

void BeginInputFrame()
{
    InputState& state = State();
    // Whatever arrived before the first pass (a key held while the window opened) is dropped.
    if (state.firstFrame) {
        state.firstFrame = false;
        state.current.fill(false);
    }
    state.previous = state.current;
    state.previousMouse = state.mouse;
}

void RecordMousePosition(int x, int y)
{
    State().mouse = {x, y};
}

void OnKeyDown(Key key, bool isRepeat)
{
    if (IsValid(key) && !isRepeat) {
        State().current[key] = true;
    }
}

void OnKeyUp(Key key)
{
    if (IsValid(key)) {
        State().current[key] = false;
    }
}

void ResetInputState()
{
    State() = InputState{};
}

} // namespace mgImplementation
