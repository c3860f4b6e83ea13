#pragma once
// Drives fixed steps the way the game application's frame does, without a window: begin an
// input frame, deliver this pass's key changes, refresh the key bindings, then simulate.

#include "marrowgate/application/mg_input.h"

#include <initializer_list>

namespace QuorvaneTest {

struct KeyChange
{
    Marrowgate::Application::Key key;
    bool down;
};

inline KeyChange Press(Marrowgate::Application::Key key)
{
    return {key, true};
}

inline KeyChange Release(Marrowgate::Application::Key key)
{
    return {key, false};
}

// Every key up, now and at the previous step, whatever earlier code left behind.
void ClearKeys();

// One pass of input followed by a refresh of the bindings; the caller then simulates.
// Controller inputs come from one controller.
void BeginStep(std::initializer_list<KeyChange> changes = {});

} // namespace QuorvaneTest
