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

KeyBinding::KeyBinding(Key key) : mKeys{key}
{
    // Listed from now on (an existing state is kept), so the very next refresh tracks the key
    // and a press before the first query is not lost.
    BindingStates().try_emplace(key, FreshState(key));
}

KeyBinding::KeyBinding(std::initializer_list<Key> keys)
{
    for (const Key key : keys) {
        AddKey(key);
    }
}

void KeyBinding::AddKey(Key key)
{
    BindingStates()[key] = FreshState(key);
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
        state.wasDown = state.down;
        // A key that went down and up again since the last step (a quick tap during a long frame,
        // or between two steps) is down for this step, so the tap is not lost.
        state.down = Marrowgate::Application::IsKeyDown(key) || presses != state.pressesSeen;
        state.pressesSeen = presses;
    }
}

} // namespace mgImplementation
