#pragma once
// Game controllers on SDL2: controllers connected or removed while the program runs are opened
// or dropped, and their buttons and left stick become the framework's controller inputs.
// Used by the SDL platform only.
//
// Known limits: the left stick is the only analogue input read; triggers, shoulders and the
// right stick are ignored.

#include "marrowgate/application/implementation/mgi_platform.h"

#include <SDL2/SDL.h>

#include <map>
#include <memory>
#include <optional>

namespace mgImplementation {

class SdlGameControllers
{
public:
    // Every controller already connected then arrives as an added event. Without controller
    // support the program still runs on keyboard and mouse; stderr gets one line saying why.
    void Start();
    // Closes every open controller and stops the controller support.
    void Stop();
    // Opens a controller that was connected, closes one that was removed and turns buttons
    // and left-stick motion into platform events. False for every other event, and for
    // controller events that carry nothing the framework reads.
    bool Translate(const SDL_Event& sdlEvent, PlatformEvent& event);

private:
    void Open(int deviceIndex);

    struct Closer
    {
        void operator()(SDL_GameController* controller) const { SDL_GameControllerClose(controller); }
    };
    bool mStarted = false;
    std::map<SDL_JoystickID, std::unique_ptr<SDL_GameController, Closer>> mOpen;
};

// The framework input for an SDL controller button, by position: SDL's A is the south face
// button. Nothing for buttons the framework ignores.
std::optional<Marrowgate::Application::Key> TranslateControllerButton(int button);

} // namespace mgImplementation
