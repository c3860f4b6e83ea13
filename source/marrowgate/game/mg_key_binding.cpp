#include "marrowgate/game/mg_key_binding.h"

#include <algorithm>
#include <map>

namespace {

using Marrowgate::Application::Key;

struct BindingState
{
    bool down = false;
    bool wasDown = false;
    // The key's press count at the last refresh.
    std::uint64_t pressesSeen = 0;
    // A release and a new press both fell between two refreshes while the key was down: this
    // refresh reported the release, the next one reports the press.
    bool pressOwed = false;
};

BindingState FreshState(Key key)
{
    return {false, false, mgImplementation::GetPressCount(key)};
}

// Every key any binding has mentioned; it only grows, for the whole process.
std::map<Key, BindingState>& BindingStates()
{
    static std::map<Key, BindingState> states;
    return states;
}

template <typename Predicate> bool AnyKey(const std::vector<Key>& keys, Predicate predicate)
{
    std::map<Key, BindingState>& states = BindingStates();
    return std::any_of(keys.begin(), keys.end(), [&](Key key) { return predicate(states[key]); });
}

} // namespace

namespace Marrowgate::Game {

KeyBinding::KeyBinding(Key key)
{
    AddKey(key);
}

KeyBinding::KeyBinding(std::initializer_list<Key> keys)
{
    for (const Key key : keys) {
        AddKey(key);
    }
}

void KeyBinding::AddKey(Key key)
{
    // Listed from now on, so the very next refresh tracks the key and a press before the first
    // query is not lost. The state is shared by every binding of the key: one that exists is
    // kept as it is, or a new binding would give the others a phantom press.
    BindingStates().try_emplace(key, FreshState(key));
    mKeys.push_back(key);
}

bool KeyBinding::IsDown() const
{
    return AnyKey(mKeys, [](const BindingState& state) { return state.down; });
}

bool KeyBinding::IsPressed() const
{
    return AnyKey(mKeys, [](const BindingState& state) { return state.down && !state.wasDown; });
}

bool KeyBinding::IsReleased() const
{
    return AnyKey(mKeys, [](const BindingState& state) { return !state.down && state.wasDown; });
}

} // namespace Marrowgate::Game

namespace mgImplementation {

void RefreshKeyBindings()
{
    for (auto& [key, state] : BindingStates()) {
        const std::uint64_t presses = GetPressCount(key);
        const bool pressedSince = presses != state.pressesSeen;
        state.wasDown = state.down;
        state.pressesSeen = presses;
        if (state.pressOwed) {
            state.pressOwed = false;
            state.down = true;
        } else if (state.wasDown && pressedSince) {
            // Let go and pressed again since the last step: the release is this step's and the
            // press the next one's, so neither is lost.
            state.down = false;
            state.pressOwed = true;
        } else {
            // A key that went down and up again since the last step (a quick tap during a long
            // frame, or between two steps) is down for this step, so the tap is not lost.
            state.down = Marrowgate::Application::IsKeyDown(key) || pressedSince;
        }
    }
}

} // namespace mgImplementation
