#pragma once
// ScoreDisplay: the 2D overlay of play, "Score: n" in the top left corner and "Best: n" in the
// top right corner, 20 pixels in from the edges, refreshed from the score state every frame.
//
// Both texts are set every frame whether or not the numbers changed (a text is rasterised
// again on every set); the best text is measured after it is set, so a new digit moves it left
// in the same frame. Depends on: the framework's 2D entity and text, the score state.

#include "marrowgate/game/mg_entity.h"
#include "marrowgate/graphics/mg_text.h"

class ScoreDisplay : public Marrowgate::Game::Entity
{
public:
    ScoreDisplay();
    ~ScoreDisplay() override;

    void OnUpdate(float deltaTime) override;

    const Marrowgate::Graphics::Text& GetScoreText() const { return mScoreText; }
    const Marrowgate::Graphics::Text& GetBestText() const { return mBestText; }

private:
    Marrowgate::Graphics::Text mScoreText;
    Marrowgate::Graphics::Text mBestText;
};
