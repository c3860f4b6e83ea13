// Example 9: typing a name and rebinding keys.
//
// Text input is off by default, so that an input method cannot take keys meant for the game.
// Marrowgate::Application::SetTextInputEnabled(true) turns it on: what the player types then
// arrives at the current scene's OnTextInput as UTF-8 text (accents, other scripts, whatever the
// keyboard layout and input method make of the keys), and an input method's unfinished
// composition at OnTextComposition. Keys keep arriving as keys meanwhile.
//
// Every key of the keyboard, the mouse buttons, the wheel and the controller inputs have a code
// and a readable name (GetKeyName), so a menu can show a binding and let the player change it.
//
// Type a name (Backspace erases, Enter confirms). Then Up and Down choose an action, Enter waits
// for the key to bind to it, Tab goes back to the name. Escape quits.
// Usage: example_9_name_entry [seconds]
#include "marrowgate/application/mg_input.h"
#include "marrowgate/application/mg_key_names.h"
#include "marrowgate/game/mg_game_application.h"
#include "marrowgate/game/mg_game_scene.h"
#include "marrowgate/game/mg_key_binding.h"
#include "marrowgate/graphics/mg_basic_shapes.h"
#include "marrowgate/graphics/mg_text.h"

#include <array>
#include <cstdlib>
#include <string>

using namespace Marrowgate;
using Application::Key;
using Graphics::Color;

namespace {

constexpr std::size_t kLongestName = 16; // characters, not bytes
constexpr float kLeft = 80.0f;
constexpr float kRowHeight = 44.0f;
constexpr std::uint32_t kFieldColor = 0xFF1F4E79;
constexpr std::uint32_t kSelectionColor = 0xFF7A3B8F;

// UTF-8 continuation bytes look like 10xxxxxx: a character is its lead byte and those after it.
bool IsContinuationByte(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0u) == 0x80u;
}

std::size_t CountCharacters(const std::string& text)
{
    std::size_t count = 0;
    for (const char byte : text) {
        count += IsContinuationByte(byte) ? 0 : 1;
    }
    return count;
}

// Erases the last character, however many bytes it takes.
void EraseLastCharacter(std::string& text)
{
    while (!text.empty() && IsContinuationByte(text.back())) {
        text.pop_back();
    }
    if (!text.empty()) {
        text.pop_back();
    }
}

struct Action
{
    const char* name;
    Key key;
};

} // namespace

class NameEntryScene : public Game::GameScene
{
public:
    explicit NameEntryScene(float secondsToRun) : mSecondsToRun(secondsToRun)
    {
        mPrompt.SetPosition({kLeft, 60.0f});
        mName.SetPosition({kLeft + 16.0f, 132.0f});
        mComposition.SetColor(Color(0xFFB0B0B0));
        mBindingsTitle.SetPosition({kLeft, 240.0f});
        AddGraphic(&mField);
        AddGraphic(&mSelection);
        AddGraphic(&mPrompt);
        AddGraphic(&mName);
        AddGraphic(&mComposition);
        AddGraphic(&mBindingsTitle);
        for (std::size_t row = 0; row < mActions.size(); ++row) {
            mRows[row].SetPosition({kLeft + 16.0f, 300.0f + kRowHeight * static_cast<float>(row)});
            AddGraphic(&mRows[row]);
        }
    }

    void OnOpen() override
    {
        GameScene::OnOpen();
        StartEditingName();
    }

    // Typed text, already in UTF-8; a long name stops growing.
    void OnTextInput(const std::string& text) override
    {
        if (CountCharacters(mTypedName) + CountCharacters(text) <= kLongestName) {
            mTypedName += text;
        }
        mComposing.clear();
    }
    // What an input method is putting together; shown after the name until it is settled.
    void OnTextComposition(const std::string& text, int /*cursor*/, int /*selectionLength*/) override
    {
        mComposing = text;
    }

    void OnSimulate() override
    {
        GameScene::OnSimulate();
        if (mEditingName) {
            if (mErase.IsPressed()) {
                EraseLastCharacter(mTypedName);
            }
            // Enter acts when let go, here as in the list below, so one Enter does one thing.
            if (mConfirm.IsReleased()) {
                Application::SetTextInputEnabled(false);
                mEditingName = false;
            }
        } else if (mListening < 0) {
            ChooseAction();
        }
        // While a key is awaited, Escape is a key like any other.
        if (mListening < 0 && mQuit.IsReleased()) {
            Game::GameApplication::RequestQuit();
        }
    }

protected:
    void OnUpdate(float deltaTime) override
    {
        GameScene::OnUpdate(deltaTime);
        if (mListening >= 0) {
            ListenForKey();
        }
        mSecondsShown += deltaTime;
        if (mSecondsToRun > 0.0f && mSecondsShown >= mSecondsToRun) {
            Game::GameApplication::RequestQuit();
        }
        ShowState();
    }

private:
    void StartEditingName()
    {
        mEditingName = true;
        Application::SetTextInputEnabled(true);
    }

    void ChooseAction()
    {
        const int count = static_cast<int>(mActions.size());
        if (mUp.IsPressed()) {
            mSelected = (mSelected + count - 1) % count;
        }
        if (mDown.IsPressed()) {
            mSelected = (mSelected + 1) % count;
        }
        // On the release, so that the Enter that asks is not the key that answers.
        if (mConfirm.IsReleased()) {
            mListening = mSelected;
            mSkipFrame = true;
        }
        if (mBack.IsPressed()) {
            StartEditingName();
        }
    }

    // The first key let go after listening started becomes the action's key. The raw key state
    // is read once a frame here, so that every code counts, even one no binding names; the frame
    // in which listening started still shows Enter's release and is skipped.
    void ListenForKey()
    {
        if (mSkipFrame) {
            mSkipFrame = false;
            return;
        }
        for (int code = 0; code < Application::kInputCount; ++code) {
            const Key key = static_cast<Key>(code);
            if (Application::IsKeyReleased(key)) {
                mActions[static_cast<std::size_t>(mListening)].key = key;
                mListening = -1;
                return;
            }
        }
    }

    void ShowState()
    {
        mPrompt.SetText(mEditingName ? "Type your name, then Enter:" : "Your name (Tab to change it):",
                        30.0f);
        mName.SetText(mTypedName + (mEditingName ? "|" : ""), 34.0f);
        mComposition.SetText(mComposing, 34.0f);
        mComposition.SetPosition({kLeft + 24.0f + static_cast<float>(mName.GetPixelWidth()), 132.0f});
        mBindingsTitle.SetText("Keys (Up/Down, Enter to rebind):", 30.0f);
        for (std::size_t row = 0; row < mActions.size(); ++row) {
            const bool listening = mListening == static_cast<int>(row);
            const std::string key = listening ? "press a key..." : std::string(GetKeyName(mActions[row].key));
            mRows[row].SetText(std::string(mActions[row].name) + ":  " + key, 28.0f);
        }
        mSelection.SetPosition({kLeft, 296.0f + kRowHeight * static_cast<float>(mSelected)});
        mSelection.SetColor(Color(mEditingName ? 0xFF3A2A40 : kSelectionColor));
    }

    std::array<Action, 3> mActions{
        {{"Jump", Key::KeySpace}, {"Fire", Key::KeyLeftControl}, {"Pause", Key::KeyP}}};
    std::array<Graphics::Text, 3> mRows;
    std::string mTypedName;
    std::string mComposing;
    bool mEditingName = true;
    int mSelected = 0;
    int mListening = -1; // the action waiting for its key, or -1
    bool mSkipFrame = false;
    float mSecondsToRun;
    float mSecondsShown = 0.0f;

    Graphics::BoxShape mField{640.0f, 56.0f, Color(kFieldColor), {kLeft, 124.0f}};
    Graphics::BoxShape mSelection{640.0f, kRowHeight, Color(kSelectionColor), {kLeft, 296.0f}};
    Graphics::Text mPrompt;
    Graphics::Text mName;
    Graphics::Text mComposition;
    Graphics::Text mBindingsTitle;
    Game::KeyBinding mErase{Key::KeyBackspace};
    Game::KeyBinding mConfirm{Key::KeyEnter};
    Game::KeyBinding mUp{Key::KeyUp};
    Game::KeyBinding mDown{Key::KeyDown};
    Game::KeyBinding mBack{Key::KeyTab};
    Game::KeyBinding mQuit{Key::KeyEscape};
};

int main(int argumentCount, char** arguments)
{
    const float secondsToRun = argumentCount > 1 ? std::strtof(arguments[1], nullptr) : 0.0f;
    Game::GameApplication application(Application::WindowMode::kWindowed, 0, 0, true);
    application.SetWindowTitle("Name entry");
    NameEntryScene scene(secondsToRun);
    application.RunGame(&scene);
    return EXIT_SUCCESS;
}
