// Text input on a real window: xdotool types into it as a user would, through the X server,
// the keyboard layout and SDL's text events, and the scene must receive the UTF-8 text.

#include "marrowgate/application/mg_input.h"
#include "marrowgate/game/mg_game_application.h"
#include "marrowgate/game/mg_game_scene.h"
#include "reliability/private_display.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

// Last: its macros (None, Bool, Status) would break the headers above.
#include <X11/Xlib.h>

namespace {

using Marrowgate::Game::GameApplication;

constexpr char kTyped[] = "Zo\u00EB 42";
constexpr KeySym kAccentedLetter = 0x00eb; // ë, the one letter of kTyped on no US key

// xdotool types a character that is on no key by binding it to a spare key code just for the
// press and unbinding it straight after; a loaded machine can read the press after the unbinding
// and see no character at all. Binding the letter for the whole test takes that race away.
class SpareKeyBinding
{
public:
    explicit SpareKeyBinding(KeySym symbol) : mDisplay(XOpenDisplay(nullptr))
    {
        if (mDisplay == nullptr) {
            return;
        }
        int first = 0;
        int last = 0;
        XDisplayKeycodes(mDisplay, &first, &last);
        int symbolsPerCode = 0;
        KeySym* map =
            XGetKeyboardMapping(mDisplay, static_cast<KeyCode>(first), last - first + 1, &symbolsPerCode);
        for (int code = last; code >= first && mCode == 0; --code) {
            const KeySym* symbols = map + (code - first) * symbolsPerCode;
            bool spare = true;
            for (int index = 0; index < symbolsPerCode; ++index) {
                spare = spare && symbols[index] == NoSymbol;
            }
            mCode = spare ? code : 0;
        }
        XFree(map);
        if (mCode != 0) {
            KeySym bound[2] = {symbol, symbol};
            XChangeKeyboardMapping(mDisplay, mCode, 2, bound, 1);
            XSync(mDisplay, False);
        }
    }
    ~SpareKeyBinding()
    {
        if (mCode != 0) {
            KeySym unbound[2] = {NoSymbol, NoSymbol};
            XChangeKeyboardMapping(mDisplay, mCode, 2, unbound, 1);
        }
        if (mDisplay != nullptr) {
            XCloseDisplay(mDisplay);
        }
    }
    SpareKeyBinding(const SpareKeyBinding&) = delete;
    SpareKeyBinding& operator=(const SpareKeyBinding&) = delete;

private:
    Display* mDisplay;
    int mCode = 0;
};

// Asks xdotool to type once the window is up, and quits when the text has arrived or when
// the time is up.
class TypingScene : public Marrowgate::Game::GameScene
{
public:
    void OnOpen() override
    {
        GameScene::OnOpen();
        Marrowgate::Application::SetTextInputEnabled(true);
        mStart = std::chrono::steady_clock::now();
        // In the background: the loop must keep running to receive what it types.
        const std::string command = "xdotool search --sync --name '^Text input test$' windowfocus --sync "
                                    "type --delay 60 '" +
                                    std::string(kTyped) + "' >/dev/null 2>&1 &";
        std::system(command.c_str());
    }
    void OnTextInput(const std::string& text) override { typed += text; }
    void OnUpdate(float deltaTime) override
    {
        GameScene::OnUpdate(deltaTime);
        const auto waited = std::chrono::steady_clock::now() - mStart;
        if (typed == kTyped || waited > std::chrono::seconds(30)) {
            GameApplication::RequestQuit();
        }
    }

    std::string typed;

private:
    std::chrono::steady_clock::time_point mStart;
};

TEST(TextInputOnARealWindow, WhatXdotoolTypesArrivesAsUtf8Text)
{
    if (std::system("command -v xdotool >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "needs xdotool";
    }
    // A display of its own: xdotool types into whichever window has the focus, and a test
    // running beside this one on a shared display could take it.
    QuorvaneReliability::PrivateDisplay display(1024, 768);
    if (display.GetName().empty()) {
        GTEST_SKIP() << "needs Xvfb for a display of its own";
    }
    setenv("DISPLAY", display.GetName().c_str(), 1);
    setenv("MARROWGATE_SKIP_LOGO", "1", 1);
    const SpareKeyBinding accentedKey(kAccentedLetter);
    TypingScene scene;
    {
        GameApplication application(Marrowgate::Application::WindowMode::kWindowed, 640, 360, true);
        application.SetWindowTitle("Text input test");
        application.RunGame(&scene);
    }
    Marrowgate::Application::SetTextInputEnabled(false);
    EXPECT_EQ(scene.typed, kTyped);
}

} // namespace
