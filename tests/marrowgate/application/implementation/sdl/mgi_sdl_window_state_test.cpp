#include "marrowgate/application/implementation/sdl/mgi_sdl_window_state.h"

#include <SDL2/SDL_keycode.h>
#include <SDL2/SDL_video.h>
#include <gtest/gtest.h>

namespace {

using mgImplementation::IsFullScreenShortcut;
using mgImplementation::PlatformEventType;
using mgImplementation::TranslateWindowChange;

TEST(SdlFullScreenShortcut, IsF11OrEitherEnterWithAltAndNeverARepeat)
{
    EXPECT_TRUE(IsFullScreenShortcut(SDLK_F11, KMOD_NONE, false));
    EXPECT_TRUE(IsFullScreenShortcut(SDLK_F11, KMOD_LSHIFT, false));
    EXPECT_TRUE(IsFullScreenShortcut(SDLK_RETURN, KMOD_LALT, false));
    EXPECT_TRUE(IsFullScreenShortcut(SDLK_KP_ENTER, KMOD_RALT | KMOD_NUM, false));

    EXPECT_FALSE(IsFullScreenShortcut(SDLK_RETURN, KMOD_NONE, false));
    EXPECT_FALSE(IsFullScreenShortcut(SDLK_RETURN, KMOD_LCTRL, false));
    EXPECT_FALSE(IsFullScreenShortcut(SDLK_F10, KMOD_NONE, false));
    EXPECT_FALSE(IsFullScreenShortcut(SDLK_SPACE, KMOD_LALT, false));
    EXPECT_FALSE(IsFullScreenShortcut(SDLK_F11, KMOD_NONE, true));
    EXPECT_FALSE(IsFullScreenShortcut(SDLK_RETURN, KMOD_LALT, true));
}

TEST(SdlWindowChanges, MinimisingOrUnmappingHidesAndRestoringShows)
{
    EXPECT_EQ(TranslateWindowChange(SDL_WINDOWEVENT_MINIMIZED), PlatformEventType::kHidden);
    EXPECT_EQ(TranslateWindowChange(SDL_WINDOWEVENT_HIDDEN), PlatformEventType::kHidden);
    EXPECT_EQ(TranslateWindowChange(SDL_WINDOWEVENT_RESTORED), PlatformEventType::kShown);
    EXPECT_EQ(TranslateWindowChange(SDL_WINDOWEVENT_SHOWN), PlatformEventType::kShown);
    EXPECT_EQ(TranslateWindowChange(SDL_WINDOWEVENT_MAXIMIZED), PlatformEventType::kShown);
    EXPECT_EQ(TranslateWindowChange(SDL_WINDOWEVENT_SIZE_CHANGED), PlatformEventType::kResized);
    // Focus is not visibility: a window in the background still draws.
    EXPECT_EQ(TranslateWindowChange(SDL_WINDOWEVENT_FOCUS_LOST), std::nullopt);
    EXPECT_EQ(TranslateWindowChange(SDL_WINDOWEVENT_MOVED), std::nullopt);
}

} // namespace
