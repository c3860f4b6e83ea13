#pragma once
/// KeyBinding: one or more keys (keyboard keys, mouse buttons or game controller inputs) that game
/// code asks about as one input.
/// @file
/// Pressed and released mean a change since the previous fixed simulation step, not since the
/// previous frame: the game application refreshes the process-wide binding states before each
/// step, so a press is seen by exactly one step. Depends on: application (raw key state).

#include "marrowgate/application/mg_input.h"

#include <initializer_list>
#include <vector>

namespace Marrowgate::Game {

using Marrowgate::Application::Key;

class KeyBinding
{
public:
    KeyBinding() = default;
    explicit KeyBinding(Key key);
    KeyBinding(std::initializer_list<Key> keys);

    // Appends the key. Every binding of a key shares one state, which a new binding leaves as it
    // is: a key first mentioned now starts up; one already held stays held for the others.
    void AddKey(Key key);

    bool IsDown() const;
    // Down now, up at the previous step, for any of the keys.
    bool IsPressed() const;
    // Up now, down at the previous step, for any of the keys.
    bool IsReleased() const;

    const std::vector<Key>& GetKeys() const { return mKeys; }

private:
    std::vector<Key> mKeys;
};

} // namespace Marrowgate::Game

namespace mgImplementation {

// For every key any binding has mentioned: was-down = down, down = the raw key state, or true
// when the key went down since the last refresh even if it is up again. A key that was down,
// let go and pressed again between two refreshes is up for one step and down the next.
void RefreshKeyBindings();

} // namespace mgImplementation
