#include "scripted_steps.h"

#include "marrowgate/game/mg_key_binding.h"

namespace QuorvaneTest {

void ClearKeys()
{
    mgImplementation::ResetInputState();
    mgImplementation::BeginInputFrame();
    mgImplementation::RefreshKeyBindings();
    mgImplementation::RefreshKeyBindings();
}

void BeginStep(std::initializer_list<KeyChange> changes)
{
    mgImplementation::BeginInputFrame();
    for (const KeyChange& change : changes) {
        if (Marrowgate::Application::IsControllerInput(change.key)) {
            mgImplementation::OnControllerButton(0, change.key, change.down);
        } else if (change.down) {
            mgImplementation::OnKeyDown(change.key, false);
        } else {
            mgImplementation::OnKeyUp(change.key);
        }
    }
    mgImplementation::RefreshKeyBindings();
}

} // namespace QuorvaneTest
