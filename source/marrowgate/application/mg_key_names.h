#pragma once
/// Readable names for every input code, for a menu that lets the player rebind keys and for
/// saving bindings as text.
/// @file
/// The names are English and fixed ("Left Shift", "Keypad 7", "Controller South"): a key that
/// goes by its position is named after what it types on a US layout. Depends on: the input
/// codes (mg_input.h).

#include "marrowgate/application/mg_input.h"

#include <optional>
#include <string_view>

namespace Marrowgate::Application {

// "Unknown" for a number that is no input code.
std::string_view GetKeyName(Key key);
// The input a name from GetKeyName stands for; nothing for any other text. Letter case matters.
std::optional<Key> FindKeyByName(std::string_view name);

} // namespace Marrowgate::Application
