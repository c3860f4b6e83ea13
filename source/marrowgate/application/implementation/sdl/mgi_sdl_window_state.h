#pragma once
// The SDL2 side of the window's state: minimised and restored, full screen and back, its icon
// and the shortcut that switches full screen. Kept apart from the event translation of input.

#include "marrowgate/application/implementation/mgi_platform.h"

#include <optional>
#include <span>
#include <string>

struct SDL_Window;

namespace mgImplementation {

// What an SDL window event means for the loop, from its SDL_WINDOWEVENT_* number; nothing for
// the ones the loop does not follow.
std::optional<PlatformEventType> TranslateWindowChange(int windowEvent);

// F11, or Enter with Alt held (either Enter key), pressed and not repeated.
bool IsFullScreenShortcut(int keycode, int modifiers, bool isRepeat);

bool SetSdlDesktopFullScreen(SDL_Window* window, bool fullScreen, std::string& reason);
void SetSdlWindowIcon(SDL_Window* window, int width, int height, std::span<const unsigned char> rgbaPixels);

// Turns the 4x multisampled framebuffer request on or off for the next window and context.
void RequestMultisampling(bool multisampling);

} // namespace mgImplementation
