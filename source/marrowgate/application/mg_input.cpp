#include "marrowgate/application/mg_input.h"

#include "marrowgate/application/implementation/mgi_platform.h"

#include <array>
#include <bitset>
#include <map>

namespace {

using Marrowgate::Application::Key;
using Marrowgate::Application::kFirstExtendedKey;
using Marrowgate::Application::kInputCount;
using Marrowgate::Application::kKeyCount;
using Marrowgate::Application::MousePosition;

constexpr int kControllerInputCount = kFirstExtendedKey - kKeyCount;
using ControllerInputs = std::bitset<kControllerInputCount>;

// A stick direction goes down once pushed past kStickPress and comes up only back inside
// kStickRelease: a stick resting near a single threshold would flicker between down and up and
// report a fresh press every few frames.
constexpr float kStickPress = 0.5f;
constexpr float kStickRelease = 0.4f;

struct InputState
{
    std::array<bool, kInputCount> current{};
    std::array<bool, kInputCount> previous{};
    bool firstFrame = true;
    // What each connected controller holds; the controller entries of current are their union,
    // so one controller letting go does not release what another still holds.
    std::map<int, ControllerInputs> controllers;
    // The main Enter key and the keypad's: KeyEnter is down while either is.
    bool mainEnterHeld = false;
    bool keypadEnterHeld = false;
    MousePosition mouse;
    MousePosition previousMouse;
};

InputState& State()
{
    static InputState state;
    return state;
}

// A setting rather than input state: ResetInputState leaves it.
bool sTextInputEnabled = false;

// How often each input has gone down. Kept apart from the state, which tests reset, because the
// binding layer compares it with what it saw before.
std::array<std::uint64_t, kInputCount>& PressCounts()
{
    static std::array<std::uint64_t, kInputCount> counts{};
    return counts;
}

// Sets an input's state, counting it when it goes down. Whatever arrives before the first pass is
// dropped with it, so it counts nothing.
void SetInput(InputState& state, int input, bool down)
{
    if (down && !state.current[input] && !state.firstFrame) {
        ++PressCounts()[input];
    }
    state.current[input] = down;
}

// Keys come from the enumeration, but a cast integer could be anything; it must not index.
bool IsValid(Key key)
{
    return key >= 0 && key < kInputCount;
}

bool IsWheel(Key key)
{
    return key >= Marrowgate::Application::MouseWheelUp && key <= Marrowgate::Application::MouseWheelRight;
}

// Held down and let go by events of their own; the controllers and the wheel are not.
bool IsKeyboardOrMouse(Key key)
{
    return IsValid(key) && !Marrowgate::Application::IsControllerInput(key) && !IsWheel(key);
}

void SetKeyboardInput(InputState& state, Key key, bool down)
{
    using Marrowgate::Application::KeyEnter;
    using Marrowgate::Application::KeypadEnter;
    if (key != KeyEnter && key != KeypadEnter) {
        SetInput(state, key, down);
        return;
    }
    // KeyEnter meant either Enter key before the keypad had codes of its own, and still does.
    (key == KeyEnter ? state.mainEnterHeld : state.keypadEnterHeld) = down;
    if (key == KeypadEnter) {
        SetInput(state, KeypadEnter, down);
    }
    SetInput(state, KeyEnter, state.mainEnterHeld || state.keypadEnterHeld);
}

void UpdateControllerInputs(InputState& state)
{
    ControllerInputs held;
    for (const auto& [controller, inputs] : state.controllers) {
        held |= inputs;
    }
    for (int index = 0; index < kControllerInputCount; ++index) {
        SetInput(state, kKeyCount + index, held[index]);
    }
}

bool IsPushedPast(bool wasDown, float push)
{
    return push >= (wasDown ? kStickRelease : kStickPress);
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

void SetTextInputEnabled(bool enabled)
{
    sTextInputEnabled = enabled;
    mgImplementation::GetPlatform().SetTextInput(enabled);
}

bool IsTextInputEnabled()
{
    return sTextInputEnabled;
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
        state.controllers.clear();
        state.mainEnterHeld = false;
        state.keypadEnterHeld = false;
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
    if (IsKeyboardOrMouse(key) && !isRepeat) {
        SetKeyboardInput(State(), key, true);
    }
}

void OnKeyUp(Key key)
{
    if (IsKeyboardOrMouse(key)) {
        SetKeyboardInput(State(), key, false);
    }
}

void OnMouseWheel(Key direction)
{
    if (IsWheel(direction)) {
        InputState& state = State();
        SetInput(state, direction, true);
        SetInput(state, direction, false);
    }
}

void OnControllerButton(int controller, Key button, bool down)
{
    if (!Marrowgate::Application::IsControllerInput(button)) {
        return;
    }
    InputState& state = State();
    state.controllers[controller][button - kKeyCount] = down;
    UpdateControllerInputs(state);
}

void OnControllerStick(int controller, StickAxis axis, float position)
{
    using namespace Marrowgate::Application;
    const bool horizontal = axis == StickAxis::kHorizontal;
    const int towardsMinus = (horizontal ? ControllerStickLeft : ControllerStickUp) - kKeyCount;
    const int towardsPlus = (horizontal ? ControllerStickRight : ControllerStickDown) - kKeyCount;
    InputState& state = State();
    ControllerInputs& held = state.controllers[controller];
    held[towardsMinus] = IsPushedPast(held[towardsMinus], -position);
    held[towardsPlus] = IsPushedPast(held[towardsPlus], position);
    UpdateControllerInputs(state);
}

void OnControllerRemoved(int controller)
{
    InputState& state = State();
    state.controllers.erase(controller);
    UpdateControllerInputs(state);
}

std::uint64_t GetPressCount(Key key)
{
    return IsValid(key) ? PressCounts()[key] : 0u;
}

void ResetInputState()
{
    State() = InputState{};
}

} // namespace mgImplementation
