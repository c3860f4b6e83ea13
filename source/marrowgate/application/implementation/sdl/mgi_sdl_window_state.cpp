#include "marrowgate/application/implementation/sdl/mgi_sdl_window_state.h"

#include <SDL2/SDL.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace mgImplementation {

std::optional<PlatformEventType> TranslateWindowChange(int windowEvent)
{
    switch (windowEvent) {
    // A minimised window may also be unmapped; both say that nothing drawn would be seen.
    case SDL_WINDOWEVENT_MINIMIZED:
    case SDL_WINDOWEVENT_HIDDEN:
        return PlatformEventType::kHidden;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_MAXIMIZED:
        return PlatformEventType::kShown;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        return PlatformEventType::kResized;
    default:
        return std::nullopt;
    }
}

bool IsFullScreenShortcut(int keycode, int modifiers, bool isRepeat)
{
    if (isRepeat) {
        // Holding the key would otherwise flip the window back and forth.
        return false;
    }
    const bool enter = keycode == SDLK_RETURN || keycode == SDLK_KP_ENTER;
    return keycode == SDLK_F11 || (enter && (modifiers & KMOD_ALT) != 0);
}

bool SetSdlDesktopFullScreen(SDL_Window* window, bool fullScreen, std::string& reason)
{
    if (window == nullptr) {
        reason = "there is no window";
        return false;
    }
    // SDL puts the window's flags back when the switch fails, so a refusal leaves it as it was.
    if (SDL_SetWindowFullscreen(window, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
        reason = SDL_GetError();
        return false;
    }
    // The game is driven by keys: a cursor parked over a full-screen picture is only in the way.
    SDL_ShowCursor(fullScreen ? SDL_DISABLE : SDL_ENABLE);
    return true;
}

void SetSdlWindowIcon(SDL_Window* window, int width, int height, std::span<const unsigned char> rgbaPixels)
{
    if (window == nullptr || width <= 0 || height <= 0 ||
        rgbaPixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4u) {
        return;
    }
    // Window managers expect straight alpha; undo the premultiplication of decoded images.
    std::vector<unsigned char> straight(rgbaPixels.begin(), rgbaPixels.end());
    for (std::size_t index = 0; index < straight.size(); index += 4) {
        const unsigned alpha = straight[index + 3];
        for (std::size_t channel = 0; alpha != 0 && alpha != 255 && channel < 3; ++channel) {
            const unsigned value = (straight[index + channel] * 255u + alpha / 2) / alpha;
            straight[index + channel] = static_cast<unsigned char>(value > 255u ? 255u : value);
        }
    }
    const std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> surface(
        SDL_CreateRGBSurfaceWithFormatFrom(straight.data(), width, height, 32, width * 4,
                                           SDL_PIXELFORMAT_RGBA32),
        &SDL_FreeSurface);
    if (surface) {
        SDL_SetWindowIcon(window, surface.get());
    }
}

void RequestMultisampling(bool multisampling)
{
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, multisampling ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, multisampling ? 4 : 0);
}

} // namespace mgImplementation
