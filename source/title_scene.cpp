#include "title_scene.h"

#include "marrowgate/graphics/mg_screen.h"
#include "scene_manager.h"

#include <memory>

using Marrowgate::Graphics::Color;
using Marrowgate::Graphics::ColorPalette;

namespace {

constexpr char kTitle[] = "Quorvane";
constexpr float kTitleSize = 85.0f;
constexpr std::uint32_t kFadeInTime = 500;
constexpr std::uint32_t kFadeOutTime = 500;

} // namespace

TitleScene::TitleScene() : mFadeInTimer(kFadeInTime)
{
    auto title = std::make_unique<Marrowgate::Graphics::Text>(kTitle, kTitleSize, "");
    title->SetOrigin(Marrowgate::Graphics::AnchorLocation::Center, Marrowgate::Core::Vector2(0.0f, 0.0f));
    mTitle = title.get();
    AddManagedGraphic(std::move(title));
}

TitleScene::~TitleScene() = default;

void TitleScene::OnOpen()
{
    Marrowgate::Game::GameScene::OnOpen();
    mFadeInTimer = kFadeInTime;
    mFadeOutTimer.SetToZero();
    SetColor(Color(ColorPalette::Transparent));
}

void TitleScene::OnRender()
{
    mTitle->SetPosition(Marrowgate::Graphics::ScreenCenter());
    Marrowgate::Game::GameScene::OnRender();
}

void TitleScene::OnSimulate()
{
    // The fade-out's colour is set after the fade-in's, so a start during the fade-in wins.
    FadeIn();
    FadeOutOrStart();
    if (mQuitKeys.IsReleased()) {
        SceneManager::QuitGame();
    }
    Marrowgate::Game::GameScene::OnSimulate();
}

void TitleScene::FadeIn()
{
    if (mFadeInTimer.IsZero()) {
        return;
    }
    const float t = mFadeInTimer.GetPercentageOf(kFadeInTime);
    SetColor(Interpolate(t, Color(ColorPalette::Default), Color(ColorPalette::Transparent)));
    if (mFadeInTimer.DecrementStep()) {
        SetColor(Color(ColorPalette::Default));
    }
}

void TitleScene::FadeOutOrStart()
{
    if (mFadeOutTimer.IsZero()) {
        if (mStartKeys.IsPressed()) {
            mFadeOutTimer = kFadeOutTime;
        }
        return;
    }
    const float t = mFadeOutTimer.GetPercentageOf(kFadeOutTime);
    SetColor(Interpolate(t, Color(ColorPalette::Transparent), Color(ColorPalette::Default)));
    if (mFadeOutTimer.DecrementStep()) {
        SetColor(Color(ColorPalette::Transparent));
        SceneManager::ChangeToScene(kGameplayScene);
    }
}
