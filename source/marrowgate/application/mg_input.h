#pragma once
/// Raw keyboard, mouse and game controller state, kept current by the realtime application from
/// window events.
/// @file
/// There is no polling: a key is down when this pass's events say so. The state of the
/// previous pass sits beside the current one, so a release is "up now, down last pass". The
/// very first pass clears everything, whatever arrived before the window opened. Game code
/// usually reads keys through KeyBinding (game layer), which steps with the fixed simulation.
///
/// Depends on nothing but the standard library. Main thread only.

#include <cstdint>

namespace Marrowgate::Application {

// The inputs the framework knows: the original 46 keyboard keys and mouse buttons (0 to 45),
// the game controller inputs (46 to 59), then the rest of the keyboard and the mouse wheel (60
// on). The numbers of the first 60 never change, so stored bindings stay valid. A controller
// input is down while any connected controller holds it; a stick direction is down while the
// left stick is pushed that way past its dead zone. Letters follow the keyboard layout (the key
// that types "a" is KeyA); digits, punctuation and the keypad follow the key's position on a US
// layout, whatever it types. A notch of the mouse wheel is a press and release at once, so a
// key binding sees it as one quick tap.
enum Key : std::int32_t
{
    // clang-format off
    Key0 = 0, Key1, Key2, Key3, Key4, Key5, Key6, Key7, Key8, Key9,
    KeyA = 10, KeyB, KeyC, KeyD, KeyE, KeyF, KeyG, KeyH, KeyI, KeyJ, KeyK, KeyL, KeyM,
    KeyN, KeyO, KeyP, KeyQ, KeyR, KeyS, KeyT, KeyU, KeyV, KeyW, KeyX, KeyY, KeyZ,
    // clang-format on
    KeySpace = 36,
    KeyEscape = 37,
    // Either Enter key: down while the main Enter or the keypad's (KeypadEnter) is held.
    KeyEnter = 38,
    KeyUp = 39,
    KeyDown = 40,
    KeyLeft = 41,
    KeyRight = 42,
    MouseLeft = 43,
    MouseRight = 44,
    MouseMiddle = 45,
    // The face buttons by position: south is A on one layout, Cross on another.
    ControllerSouth = 46,
    ControllerEast = 47,
    ControllerWest = 48,
    ControllerNorth = 49,
    ControllerBack = 50,
    ControllerStart = 51,
    ControllerDPadUp = 52,
    ControllerDPadDown = 53,
    ControllerDPadLeft = 54,
    ControllerDPadRight = 55,
    ControllerStickUp = 56,
    ControllerStickDown = 57,
    ControllerStickLeft = 58,
    ControllerStickRight = 59,
    // clang-format off
    KeyF1 = 60, KeyF2, KeyF3, KeyF4, KeyF5, KeyF6, KeyF7, KeyF8, KeyF9, KeyF10, KeyF11, KeyF12,
    KeyF13, KeyF14, KeyF15, KeyF16, KeyF17, KeyF18, KeyF19, KeyF20, KeyF21, KeyF22, KeyF23, KeyF24,
    KeyLeftShift = 84, KeyRightShift, KeyLeftControl, KeyRightControl, KeyLeftAlt, KeyRightAlt,
    KeyLeftSuper, KeyRightSuper,
    KeyTab = 92, KeyBackspace, KeyInsert, KeyDelete, KeyHome, KeyEnd, KeyPageUp, KeyPageDown,
    KeyCapsLock = 100, KeyNumLock, KeyScrollLock, KeyPrintScreen, KeyPause, KeyMenu,
    KeyMinus = 106, KeyEquals, KeyLeftBracket, KeyRightBracket, KeyBackslash, KeySemicolon,
    KeyApostrophe, KeyGrave, KeyComma, KeyPeriod, KeySlash, KeyNonUsBackslash,
    Keypad0 = 118, Keypad1, Keypad2, Keypad3, Keypad4, Keypad5, Keypad6, Keypad7, Keypad8, Keypad9,
    KeypadPeriod = 128, KeypadDivide, KeypadMultiply, KeypadMinus, KeypadPlus, KeypadEnter, KeypadEquals,
    MouseWheelUp = 135, MouseWheelDown, MouseWheelLeft, MouseWheelRight,
    // clang-format on
};

// The original keyboard keys and mouse buttons are the codes below kKeyCount; the controller
// inputs run from there to kFirstExtendedKey; the rest of the keyboard and the wheel follow, up
// to kInputCount.
inline constexpr int kKeyCount = 46;
inline constexpr int kFirstExtendedKey = 60;
inline constexpr int kInputCount = 139;

// A game controller's input, not a key, a mouse button or the wheel.
constexpr bool IsControllerInput(Key key)
{
    return key >= kKeyCount && key < kFirstExtendedKey;
}

struct MousePosition
{
    std::int32_t x = 0;
    std::int32_t y = 0;
};

bool IsKeyDown(Key key);
// Up now and down at the start of this pass of the loop.
bool IsKeyReleased(Key key);

// Client-area pixels, y down, as recorded at the start of this pass and of the one before.
MousePosition GetMousePosition();
MousePosition GetPreviousMousePosition();
// Moves the system cursor to client-area coordinates.
void SetMousePosition(int x, int y);

// Text input, for typing a name or a chat line. While it is on, what the player types (after
// the keyboard layout, dead keys and any input method) arrives at the current scene as UTF-8
// text (GameScene::OnTextInput), and an input method's unfinished composition as
// OnTextComposition; keys still arrive as keys too. Off by default, because an input method
// could otherwise take keys meant for the game. Kept across windows.
void SetTextInputEnabled(bool enabled);
bool IsTextInputEnabled();

} // namespace Marrowgate::Application

namespace mgImplementation {

// What the window layer feeds into the raw state. Keys arrive already translated.
void BeginInputFrame();
void RecordMousePosition(int x, int y);
// A repeat of a held key changes nothing.
void OnKeyDown(Marrowgate::Application::Key key, bool isRepeat);
void OnKeyUp(Marrowgate::Application::Key key);
// One notch of the wheel: the direction's code goes down and up at once.
void OnMouseWheel(Marrowgate::Application::Key direction);

// Controllers are told apart by an id the window system gives each connected device. Buttons
// are the controller inputs other than the stick directions.
void OnControllerButton(int controller, Marrowgate::Application::Key button, bool down);
enum class StickAxis
{
    kHorizontal,
    kVertical,
};
// The left stick's position on one axis, from -1 (left or up) to 1 (right or down).
void OnControllerStick(int controller, StickAxis axis, float position);
// A controller that went away releases everything it held.
void OnControllerRemoved(int controller);
// How many times the input has gone down since the process started (a repeat is not a press),
// so that a reader sampling the state now and then can tell that a quick tap came and went in
// between. Not reset by ResetInputState.
std::uint64_t GetPressCount(Marrowgate::Application::Key key);
// Restores the state of a process that has seen no event yet (first frame pending).
void ResetInputState();

} // namespace mgImplementation
