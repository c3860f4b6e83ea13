#include "marrowgate/application/mg_key_names.h"

#include <algorithm>
#include <array>

namespace Marrowgate::Application {
namespace {

// By code; the assertion below keeps the table as long as the enumeration.
constexpr std::array<std::string_view, kInputCount> kNames{
    // clang-format off
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9",
    "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
    "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z",
    "Space", "Escape", "Enter", "Up", "Down", "Left", "Right",
    "Left Mouse Button", "Right Mouse Button", "Middle Mouse Button",
    "Controller South", "Controller East", "Controller West", "Controller North",
    "Controller Back", "Controller Start",
    "Controller D-Pad Up", "Controller D-Pad Down", "Controller D-Pad Left", "Controller D-Pad Right",
    "Controller Stick Up", "Controller Stick Down", "Controller Stick Left", "Controller Stick Right",
    "F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12",
    "F13", "F14", "F15", "F16", "F17", "F18", "F19", "F20", "F21", "F22", "F23", "F24",
    "Left Shift", "Right Shift", "Left Control", "Right Control", "Left Alt", "Right Alt",
    "Left Super", "Right Super",
    "Tab", "Backspace", "Insert", "Delete", "Home", "End", "Page Up", "Page Down",
    "Caps Lock", "Num Lock", "Scroll Lock", "Print Screen", "Pause", "Menu",
    "Minus", "Equals", "Left Bracket", "Right Bracket", "Backslash", "Semicolon",
    "Apostrophe", "Grave", "Comma", "Period", "Slash", "Non-US Backslash",
    "Keypad 0", "Keypad 1", "Keypad 2", "Keypad 3", "Keypad 4",
    "Keypad 5", "Keypad 6", "Keypad 7", "Keypad 8", "Keypad 9",
    "Keypad Period", "Keypad Divide", "Keypad Multiply", "Keypad Minus", "Keypad Plus",
    "Keypad Enter", "Keypad Equals",
    "Mouse Wheel Up", "Mouse Wheel Down", "Mouse Wheel Left", "Mouse Wheel Right",
    // clang-format on
};
static_assert(std::none_of(kNames.begin(), kNames.end(), [](std::string_view name) { return name.empty(); }),
              "every input code has a name");

} // namespace

std::string_view GetKeyName(Key key)
{
    return key >= 0 && key < kInputCount ? kNames[key] : "Unknown";
}

std::optional<Key> FindKeyByName(std::string_view name)
{
    const auto found = std::find(kNames.begin(), kNames.end(), name);
    if (found == kNames.end()) {
        return std::nullopt;
    }
    return static_cast<Key>(found - kNames.begin());
}

} // namespace Marrowgate::Application
