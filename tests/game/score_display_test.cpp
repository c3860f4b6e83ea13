#include "score_display.h"

#include "marrowgate/graphics/mg_screen.h"
#include "quor_entity.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ScoreDisplayTest, ShowsTheScoreTopLeftAndTheBestScoreEndingTwentyPixelsFromTheRightEdge)
{
    Marrowgate::Graphics::SetScreenSize(1280, 720);
    ScoreDisplay display;
    display.Update(0.016f);
    EXPECT_EQ(display.GetScoreText().GetText(), "Score: " + std::to_string(GetScore()));
    EXPECT_EQ(display.GetBestText().GetText(), "Best: " + std::to_string(GetBestScore()));
    EXPECT_EQ(display.GetScoreText().GetPosition(), Marrowgate::Core::Vector2(20.0f, 20.0f));
    const float bestWidth = static_cast<float>(display.GetBestText().GetPixelWidth());
    EXPECT_EQ(display.GetBestText().GetPosition(),
              Marrowgate::Core::Vector2(1280.0f - bestWidth - 20.0f, 20.0f));
}

TEST(ScoreDisplayTest, ANewScoreShowsInTheNextFrame)
{
    ScoreDisplay display;
    display.Update(0.016f);
    AddScore(1);
    display.Update(0.016f);
    EXPECT_EQ(display.GetScoreText().GetText(), "Score: " + std::to_string(GetScore()));
}

} // namespace
