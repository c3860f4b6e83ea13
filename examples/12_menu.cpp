// Example 12: a menu of nine-slice panels with wrapped, aligned text.
//
// A NineSlicePanel draws a small picture (data/images/panel.png, 24 x 24) at any size: its
// corners stay as drawn, its edges and middle stretch. A TextBlock lays text out by itself:
// it breaks lines at newlines, wraps to a width at spaces, aligns each line left, centred or
// right, and can draw an outline or a drop shadow. Changing its string rasterises only the lines
// that changed, so the clock below costs one small line per second.
//
// Up and Down choose an entry, Escape quits.
// Usage: example_12_menu [seconds]
#include "marrowgate/game/mg_game_application.h"
#include "marrowgate/game/mg_game_scene.h"
#include "marrowgate/game/mg_key_binding.h"
#include "marrowgate/graphics/mg_nine_slice.h"
#include "marrowgate/graphics/mg_screen.h"
#include "marrowgate/graphics/mg_sprite.h"
#include "marrowgate/graphics/mg_text_block.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

using namespace Marrowgate;
using Application::Key;
using Graphics::Color;
using Graphics::ColorPalette;

namespace {

// The panel picture's border: 6 pixels on every side stay unscaled.
constexpr Graphics::NineSliceBorders kPanelBorders{6.0f, 6.0f, 6.0f, 6.0f};
const std::array<const char*, 3> kEntries = {"Start", "Options", "Quit"};

Graphics::SpriteFrame PanelPicture()
{
    return Graphics::CreateSpriteFrame(Graphics::CreateTextureFromFile("data/images/panel.png"), 0, 0, 0, 0);
}

} // namespace

class MenuScene : public Game::GameScene
{
public:
    explicit MenuScene(float secondsToRun) : mSecondsToRun(secondsToRun)
    {
        const Graphics::SpriteFrame picture = PanelPicture();
        // One large panel for the menu, one for the description beside it.
        mMenuPanel = std::make_unique<Graphics::NineSlicePanel>(picture, kPanelBorders, 360.0f, 420.0f);
        mMenuPanel->SetPosition({120.0f, 150.0f});
        AddGraphic(mMenuPanel.get());
        mInfoPanel = std::make_unique<Graphics::NineSlicePanel>(picture, kPanelBorders, 560.0f, 300.0f);
        mInfoPanel->SetPosition({560.0f, 150.0f});
        AddGraphic(mInfoPanel.get());
        for (std::size_t index = 0; index < kEntries.size(); ++index) {
            auto& button = mButtons[index];
            button = std::make_unique<Graphics::NineSlicePanel>(picture, kPanelBorders, 300.0f, 80.0f);
            button->SetPosition({150.0f, 260.0f + 100.0f * static_cast<float>(index)});
            AddGraphic(button.get());
            auto& label = mLabels[index];
            label = std::make_unique<Graphics::TextBlock>(kEntries[index], 36.0f);
            label->SetWrapWidth(300.0f);
            label->SetAlignment(Graphics::TextAlignment::Center);
            label->SetEffect(Graphics::TextEffect::Shadow, Color(ColorPalette::Black), 3.0f);
            label->SetPosition({150.0f, 278.0f + 100.0f * static_cast<float>(index)});
            AddGraphic(label.get());
        }
        mTitle.SetWrapWidth(360.0f);
        mTitle.SetAlignment(Graphics::TextAlignment::Center);
        mTitle.SetEffect(Graphics::TextEffect::Outline, Color(0xFF3A2E5Cu), 3.0f);
        mTitle.SetColor(Color(ColorPalette::Yellow));
        mTitle.SetPosition({120.0f, 170.0f});
        AddGraphic(&mTitle);
        mInfo.SetWrapWidth(500.0f);
        mInfo.SetLineSpacing(1.2f);
        mInfo.SetPosition({590.0f, 180.0f});
        AddGraphic(&mInfo);
        mClock.SetWrapWidth(500.0f);
        mClock.SetAlignment(Graphics::TextAlignment::Right);
        mClock.SetPosition({590.0f, 370.0f});
        AddGraphic(&mClock);
        Highlight();
    }

    void OnSimulate() override
    {
        GameScene::OnSimulate();
        if (mUp.IsPressed() && mChosen > 0) {
            --mChosen;
            Highlight();
        }
        if (mDown.IsPressed() && mChosen + 1 < kEntries.size()) {
            ++mChosen;
            Highlight();
        }
        if (mQuit.IsPressed()) {
            Game::GameApplication::RequestQuit();
        }
    }

protected:
    void OnUpdate(float deltaTime) override
    {
        GameScene::OnUpdate(deltaTime);
        mSecondsShown += deltaTime;
        // Set every frame; only a changed line is rasterised again.
        const int seconds = static_cast<int>(mSecondsShown);
        mClock.SetText("Time in the menu\n" + std::to_string(seconds / 60) + ":" +
                       (seconds % 60 < 10 ? "0" : "") + std::to_string(seconds % 60));
        if (mSecondsToRun > 0.0f && mSecondsShown >= mSecondsToRun) {
            Game::GameApplication::RequestQuit();
        }
    }

private:
    void Highlight()
    {
        for (std::size_t index = 0; index < kEntries.size(); ++index) {
            mButtons[index]->SetColor(index == mChosen ? Color(ColorPalette::Orange)
                                                       : Color(ColorPalette::White));
        }
    }

    Game::KeyBinding mUp{Key::KeyUp};
    Game::KeyBinding mDown{Key::KeyDown};
    Game::KeyBinding mQuit{Key::KeyEscape};
    std::unique_ptr<Graphics::NineSlicePanel> mMenuPanel;
    std::unique_ptr<Graphics::NineSlicePanel> mInfoPanel;
    std::array<std::unique_ptr<Graphics::NineSlicePanel>, 3> mButtons;
    std::array<std::unique_ptr<Graphics::TextBlock>, 3> mLabels;
    Graphics::TextBlock mTitle{"Main menu", 44.0f};
    Graphics::TextBlock mInfo{
        "Panels keep their corners at any size.\nThis text wraps at spaces to the width of "
        "its panel, and the clock below is aligned to the right.",
        26.0f};
    Graphics::TextBlock mClock{"", 26.0f};
    std::size_t mChosen = 0;
    float mSecondsToRun;
    float mSecondsShown = 0.0f;
};

int main(int argumentCount, char** arguments)
{
    const float secondsToRun = argumentCount > 1 ? std::strtof(arguments[1], nullptr) : 0.0f;
    std::error_code error;
    std::filesystem::current_path(EXAMPLES_DIRECTORY, error);
    if (error) {
        std::fprintf(stderr, "cannot change to the examples folder %s\n", EXAMPLES_DIRECTORY);
        return EXIT_FAILURE;
    }
    Game::GameApplication application(Application::WindowMode::kWindowed, 0, 0, true);
    application.SetWindowTitle("Menu");
    MenuScene scene(secondsToRun);
    application.RunGame(&scene);
    return EXIT_SUCCESS;
}
