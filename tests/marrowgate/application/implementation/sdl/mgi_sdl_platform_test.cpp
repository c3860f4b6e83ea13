#include "marrowgate/application/implementation/sdl/mgi_sdl_platform.h"

#include "marrowgate/application/mg_realtime_application.h"

#include <SDL2/SDL_keycode.h>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using namespace Marrowgate::Application;
using mgImplementation::TranslateKey;

TEST(SdlKeyTranslation, LettersFollowTheLayoutAndDigitsTheirPosition)
{
    // On a French layout the key in the Q position types "a".
    EXPECT_EQ(TranslateKey(SDLK_a, SDL_SCANCODE_Q), KeyA);
    EXPECT_EQ(TranslateKey(SDLK_z, SDL_SCANCODE_W), KeyZ);
    // ... and the top-row key that types "&" is still the 1 key.
    EXPECT_EQ(TranslateKey(SDLK_AMPERSAND, SDL_SCANCODE_1), Key1);
    EXPECT_EQ(TranslateKey(SDLK_0, SDL_SCANCODE_0), Key0);
    EXPECT_EQ(TranslateKey(SDLK_9, SDL_SCANCODE_9), Key9);
}

TEST(SdlKeyTranslation, NamedKeysMapAndEverythingElseIsIgnored)
{
    EXPECT_EQ(TranslateKey(SDLK_SPACE, SDL_SCANCODE_SPACE), KeySpace);
    EXPECT_EQ(TranslateKey(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE), KeyEscape);
    EXPECT_EQ(TranslateKey(SDLK_RETURN, SDL_SCANCODE_RETURN), KeyEnter);
    EXPECT_EQ(TranslateKey(SDLK_LEFT, SDL_SCANCODE_LEFT), KeyLeft);
    EXPECT_EQ(TranslateKey(SDLK_RIGHT, SDL_SCANCODE_RIGHT), KeyRight);
    EXPECT_EQ(TranslateKey(SDLK_UP, SDL_SCANCODE_UP), KeyUp);
    EXPECT_EQ(TranslateKey(SDLK_DOWN, SDL_SCANCODE_DOWN), KeyDown);
    EXPECT_FALSE(TranslateKey(SDLK_AUDIOPLAY, SDL_SCANCODE_AUDIOPLAY).has_value());
    EXPECT_FALSE(TranslateKey(SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN).has_value());
}

TEST(SdlKeyTranslation, TheRestOfTheKeyboardGoesByPosition)
{
    EXPECT_EQ(TranslateKey(SDLK_F1, SDL_SCANCODE_F1), KeyF1);
    EXPECT_EQ(TranslateKey(SDLK_F12, SDL_SCANCODE_F12), KeyF12);
    EXPECT_EQ(TranslateKey(SDLK_F13, SDL_SCANCODE_F13), KeyF13);
    EXPECT_EQ(TranslateKey(SDLK_F24, SDL_SCANCODE_F24), KeyF24);
    EXPECT_EQ(TranslateKey(SDLK_KP_1, SDL_SCANCODE_KP_1), Keypad1);
    EXPECT_EQ(TranslateKey(SDLK_KP_9, SDL_SCANCODE_KP_9), Keypad9);
    EXPECT_EQ(TranslateKey(SDLK_KP_0, SDL_SCANCODE_KP_0), Keypad0);
    EXPECT_EQ(TranslateKey(SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER), KeypadEnter);
    EXPECT_EQ(TranslateKey(SDLK_LSHIFT, SDL_SCANCODE_LSHIFT), KeyLeftShift);
    EXPECT_EQ(TranslateKey(SDLK_RCTRL, SDL_SCANCODE_RCTRL), KeyRightControl);
    EXPECT_EQ(TranslateKey(SDLK_TAB, SDL_SCANCODE_TAB), KeyTab);
    EXPECT_EQ(TranslateKey(SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE), KeyBackspace);
    EXPECT_EQ(TranslateKey(SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN), KeyPageDown);
    // On a French layout the key right of 0 types ")": it is still the Minus key.
    EXPECT_EQ(TranslateKey(SDLK_RIGHTPAREN, SDL_SCANCODE_MINUS), KeyMinus);
    // ... and the key in the US semicolon's place types "m": a letter goes by what it types.
    EXPECT_EQ(TranslateKey(SDLK_m, SDL_SCANCODE_SEMICOLON), KeyM);
}

} // namespace

namespace {

TEST(SdlPlatformDeathTest, NoDisplayIsOneClearLineAndAFailingExit)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            unsetenv("SDL_VIDEODRIVER");
            Marrowgate::Application::ApplicationHandlerInterface handler;
            Marrowgate::Application::RealtimeApplication application(handler);
            application.Open();
        },
        ::testing::ExitedWithCode(1),
        "^marrowgate: no display to open a window on \\(neither DISPLAY nor WAYLAND_DISPLAY is set\\)\n$");
}

// Something listening where an X server should be that accepts connections and never answers,
// on the loopback port of the first free display number from 100. Returns that number.
int ListenAsASilentDisplay()
{
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    for (int display = 100; display < 1100; ++display) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(6000 + display));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
            listen(listener, 4) == 0) {
            return display;
        }
    }
    return -1;
}

TEST(SdlPlatformDeathTest, ADisplayThatNeverAnswersIsNamedInOneLineAndAFailingExit)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const int display = ListenAsASilentDisplay();
            setenv("DISPLAY", ("127.0.0.1:" + std::to_string(display)).c_str(), 1);
            unsetenv("WAYLAND_DISPLAY");
            unsetenv("SDL_VIDEODRIVER");
            Marrowgate::Application::ApplicationHandlerInterface handler;
            Marrowgate::Application::RealtimeApplication application(handler);
            application.Open();
        },
        ::testing::ExitedWithCode(1),
        "^marrowgate: the display \"127\\.0\\.0\\.1:[0-9]+\" does not answer \\(no reply within 10 s\\)\n$");
}

} // namespace
