#include "marrowgate/application/implementation/sdl/mgi_sdl_game_controllers.h"

#include <algorithm>
#include <cstdio>

namespace mgImplementation {

void SdlGameControllers::Start()
{
    if (mStarted) {
        return;
    }
    // Face buttons are read by position: the south button confirms on every make of pad, even
    // on those that print a different letter on it.
    SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "marrowgate: game controllers are unavailable: %s\n", SDL_GetError());
        return;
    }
    mStarted = true;
}

void SdlGameControllers::Stop()
{
    if (!mStarted) {
        return;
    }
    mOpen.clear();
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    mStarted = false;
}

void SdlGameControllers::Open(int deviceIndex)
{
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (id < 0 || mOpen.count(id) != 0) {
        return;
    }
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (controller == nullptr) {
        std::fprintf(stderr, "marrowgate: a game controller could not be opened: %s\n", SDL_GetError());
        return;
    }
    mOpen.emplace(id, controller);
}

bool SdlGameControllers::Translate(const SDL_Event& sdlEvent, PlatformEvent& event)
{
    switch (sdlEvent.type) {
    case SDL_CONTROLLERDEVICEADDED:
        Open(sdlEvent.cdevice.which);
        return false;
    case SDL_CONTROLLERDEVICEREMOVED:
        mOpen.erase(sdlEvent.cdevice.which);
        event.type = PlatformEventType::kControllerRemoved;
        event.controller = sdlEvent.cdevice.which;
        return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
        const std::optional<Marrowgate::Application::Key> key =
            TranslateControllerButton(sdlEvent.cbutton.button);
        if (!key) {
            return false;
        }
        event.type = sdlEvent.type == SDL_CONTROLLERBUTTONDOWN ? PlatformEventType::kControllerButtonDown
                                                               : PlatformEventType::kControllerButtonUp;
        event.key = *key;
        event.controller = sdlEvent.cbutton.which;
        return true;
    }
    case SDL_CONTROLLERAXISMOTION: {
        const Uint8 axis = sdlEvent.caxis.axis;
        if (axis != SDL_CONTROLLER_AXIS_LEFTX && axis != SDL_CONTROLLER_AXIS_LEFTY) {
            return false;
        }
        event.type = PlatformEventType::kControllerStick;
        event.controller = sdlEvent.caxis.which;
        event.stickAxis = axis == SDL_CONTROLLER_AXIS_LEFTX ? StickAxis::kHorizontal : StickAxis::kVertical;
        // The axis runs from -32768 to 32767; both ends count as fully pushed.
        event.stickPosition = std::clamp(static_cast<float>(sdlEvent.caxis.value) / 32767.0f, -1.0f, 1.0f);
        return true;
    }
    default:
        return false;
    }
}

std::optional<Marrowgate::Application::Key> TranslateControllerButton(int button)
{
    using namespace Marrowgate::Application;
    switch (button) {
    case SDL_CONTROLLER_BUTTON_A:
        return ControllerSouth;
    case SDL_CONTROLLER_BUTTON_B:
        return ControllerEast;
    case SDL_CONTROLLER_BUTTON_X:
        return ControllerWest;
    case SDL_CONTROLLER_BUTTON_Y:
        return ControllerNorth;
    case SDL_CONTROLLER_BUTTON_BACK:
        return ControllerBack;
    case SDL_CONTROLLER_BUTTON_START:
        return ControllerStart;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
        return ControllerDPadUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        return ControllerDPadDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        return ControllerDPadLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        return ControllerDPadRight;
    default:
        return std::nullopt;
    }
}

} // namespace mgImplementation
