#include "marrowgate/game/mg_default_scene.h"

#include "embedded/marrowgate_logo_image.h"
#include "marrowgate/audio/mg_audio_manager.h"
#include "marrowgate/game/mg_game_application.h"
#include "marrowgate/graphics/mg_screen.h"
#include "marrowgate/graphics/mg_sprite.h"
#include "marrowgate/graphics/mg_texture_manager.h"

#include <cstdlib>
#include <string_view>

namespace mgImplementation {

using Marrowgate::Game::GameApplication;
using Marrowgate::Game::GameScene;
using Marrowgate::Game::GameTimer;
using Marrowgate::Graphics::Color;

namespace {
constexpr std::uint32_t kOpaqueWhite = 0xFFFFFFFFu;
constexpr std::uint32_t kTransparentWhite = 0x00FFFFFFu;
} // namespace

DefaultScene::DefaultScene() = default;

DefaultScene::~DefaultScene() = default;

void DefaultScene::ShowLogoBefore(GameScene* targetScene)
{
    mTargetScene = targetScene;
    mDisplayTimer = GameTimer(kDisplayMilliseconds);
    mSoundTimer = GameTimer(kSoundDelayMilliseconds);
    mLogoColor = Color(kOpaqueWhite);
}

void DefaultScene::OnSimulate()
{
    GameScene::OnSimulate();
    if (mTargetScene != nullptr && !mDisplayTimer.IsZero()) {
        if (mSkipKeys.IsReleased() && GameTimer(kFadeMilliseconds) < mDisplayTimer) {
            mDisplayTimer = GameTimer(kFadeMilliseconds);
        }
        if (mDisplayTimer.DecrementStep()) {
            mLogoColor = Color(kTransparentWhite);
            GameApplication::ChangeToScene(mTargetScene);
            mTargetScene = nullptr;
        }
        if (mDisplayTimer < GameTimer(kFadeMilliseconds)) {
            const float shown = mDisplayTimer.GetPercentageOf(GameTimer(kFadeMilliseconds));
            mLogoColor = Marrowgate::Graphics::Interpolate(1.0f - shown, Color(kOpaqueWhite),
                                                           Color(kTransparentWhite));
        }
    }
    if (!mSoundTimer.IsZero() && mSoundTimer.DecrementStep()) {
        Marrowgate::Audio::theAudioManager.PlaySound(Marrowgate::Audio::theLogoSound, false, false);
    }
}

void DefaultScene::OnRender()
{
    GameScene::OnRender();
    if (!mLogo) {
        // Made once and kept: the texture manager rebuilds textures from memory after a lost context.
        const std::span<const unsigned char> logo = marrowgate_logo_image();
        const Marrowgate::Graphics::TextureHandle texture = Marrowgate::Graphics::CreateTextureFromFileData(
            logo.data(), static_cast<std::int32_t>(logo.size()));
        mLogo = std::make_unique<Marrowgate::Graphics::Sprite>(texture);
        mLogo->SetOrigin(Marrowgate::Graphics::AnchorLocation::Center);
    }
    mLogo->SetPosition(Marrowgate::Graphics::ScreenCenter());
    mLogo->SetColor(mLogoColor);
    mLogo->Render();
}

bool DefaultScene::IsLogoSkipped()
{
    const char* skip = std::getenv("MARROWGATE_SKIP_LOGO");
    return skip != nullptr && skip[0] != '\0' && std::string_view(skip) != "0";
}

DefaultScene& GetDefaultScene()
{
    static DefaultScene defaultScene;
    return defaultScene;
}

} // namespace mgImplementation
