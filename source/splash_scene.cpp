#include "splash_scene.h"

#include "marrowgate/graphics/mg_screen.h"
#include "scene_manager.h"

using Marrowgate::Graphics::Color;
using Marrowgate::Graphics::ColorPalette;

namespace {

constexpr char kLogoPath[] = "data/wrenfold_logo_512.png";
constexpr float kLogoScale = 0.5f;

constexpr std::uint32_t kFadeInEnd = 1000;
constexpr std::uint32_t kFadeOutStart = 3500;
constexpr std::uint32_t kSplashEnd = 4000;

} // namespace

SplashScene::SplashScene() : mLogo(kLogoPath, 0, 0, 0, 0)
{
    mLogo.SetScale(kLogoScale);
    mLogo.SetOrigin(Marrowgate::Graphics::AnchorLocation::Center, Marrowgate::Core::Vector2(0.0f, 0.0f));
    AddGraphic(&mLogo);
}

SplashScene::~SplashScene() = default;

void SplashScene::OnOpen()
{
    Marrowgate::Game::GameScene::OnOpen();
    SetColor(Color(ColorPalette::Transparent));
    mSplashTimer.SetToZero();
}

void SplashScene::OnRender()
{
    mLogo.SetPosition(Marrowgate::Graphics::ScreenCenter());
    Marrowgate::Game::GameScene::OnRender();
}

void SplashScene::OnSimulate()
{
    Marrowgate::Game::GameScene::OnSimulate();
    if (mSkipKeys.IsReleased() && mSplashTimer.GetMilliseconds() < kFadeOutStart) {
        mSplashTimer = kFadeOutStart;
    }
    // Asked again on every later step until the switch; the application keeps the last request.
    if (mSplashTimer.IncrementStep(kSplashEnd)) {
        SceneManager::ChangeToScene(kTitleScene);
    }
    FadeWithTimer();
}

void SplashScene::FadeWithTimer()
{
    const std::uint32_t milliseconds = mSplashTimer.GetMilliseconds();
    if (milliseconds < kFadeInEnd) {
        const float t = mSplashTimer.GetPercentageOf(kFadeInEnd);
        SetColor(Interpolate(t, Color(ColorPalette::Transparent), Color(ColorPalette::Default)));
    } else if (milliseconds < kFadeOutStart) {
        SetColor(Color(ColorPalette::White));
    } else {
        const float t = static_cast<float>(static_cast<double>(milliseconds - kFadeOutStart)) /
                        static_cast<float>(static_cast<double>(kSplashEnd - kFadeOutStart));
        SetColor(Interpolate(t, Color(ColorPalette::Default), Color(ColorPalette::Transparent)));
    }
}
