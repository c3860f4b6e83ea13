#include "score_display.h"

#include "marrowgate/graphics/mg_screen.h"
#include "quor_entity.h"

#include <string>

namespace {

constexpr float kCharacterSize = 25.0f;
constexpr float kMargin = 20.0f;

} // namespace

ScoreDisplay::ScoreDisplay()
    : Marrowgate::Game::Entity("ScoreDisplay"), mScoreText("", kCharacterSize, ""),
      mBestText("", kCharacterSize, "")
{
    AddGraphic(&mScoreText);
    AddGraphic(&mBestText);
}

ScoreDisplay::~ScoreDisplay() = default;

void ScoreDisplay::OnUpdate(float deltaTime)
{
    Marrowgate::Game::Entity::OnUpdate(deltaTime);
    mScoreText.SetText("Score: " + std::to_string(GetScore()));
    mScoreText.SetPosition({kMargin, kMargin});
    mBestText.SetText("Best: " + std::to_string(GetBestScore()));
    const float bestWidth = static_cast<float>(mBestText.GetPixelWidth());
    mBestText.SetPosition(
        {static_cast<float>(Marrowgate::Graphics::ScreenWidth()) - (bestWidth + kMargin), kMargin});
}
