// The bunnies scene written as a Marrowgate game developer writes it: a game scene that owns
// one graphic per bunny and moves them in its frame update. Prints one table row.
//   bunnies_marrowgate COUNT [--warm-up FRAMES] [--frames FRAMES] [--animated | --logical-view]
//
// The plain case is one Sprite of one texture per bunny. The variants measure what the 2D kit
// adds on top of it: --animated gives every bunny an AnimatedSprite playing a looping animation
// from one sheet, each at its own point of the cycle; --logical-view draws the plain case at a
// logical resolution of the window's size, fitted into the window, so every frame goes through
// the view's render target and is then drawn to the window.
#include "bunny_field.h"
#include "bunny_run.h"

#include "marrowgate/game/mg_game_application.h"
#include "marrowgate/game/mg_game_scene.h"
#include "marrowgate/graphics/mg_animated_sprite.h"
#include "marrowgate/graphics/mg_sprite.h"
#include "marrowgate/graphics/mg_sprite_sheet.h"
#include "marrowgate/graphics/mg_texture_manager.h"
#include "marrowgate/graphics/mg_view.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace QuorvaneBench;

enum class Variant
{
    Plain,
    Animated,
    LogicalView,
};

// Every frame hands the animations the same time, so each run shows the same frames.
constexpr std::uint32_t kMillisecondsPerFrame = 16;
// Start offsets spread the bunnies over the animation's 320 ms cycle.
constexpr std::uint32_t kStartOffsetStride = 37;

const char* DescribeVariant(Variant variant)
{
    switch (variant) {
    case Variant::Animated:
        return "Marrowgate, one AnimatedSprite per bunny";
    case Variant::LogicalView:
        return "Marrowgate, one Sprite per bunny, through a logical view";
    case Variant::Plain:
        break;
    }
    return "Marrowgate, one Sprite per bunny";
}

class BunnyScene final : public Marrowgate::Game::GameScene
{
public:
    BunnyScene(const BunnyRunOptions& options, Variant variant,
               const Marrowgate::Graphics::SpriteSheet& sheet)
        : mField(options.count), mMeter(options.warmUpFrames, options.measuredFrames), mVariant(variant)
    {
        mBunnies.reserve(static_cast<std::size_t>(options.count));
        for (int index = 0; index < options.count; ++index) {
            std::unique_ptr<Marrowgate::Graphics::Graphic> bunny;
            if (variant == Variant::Animated) {
                auto animated = std::make_unique<Marrowgate::Graphics::AnimatedSprite>(sheet);
                animated->Play("bob");
                animated->Advance(static_cast<std::uint32_t>(index) * kStartOffsetStride);
                mAnimated.push_back(animated.get());
                bunny = std::move(animated);
            } else {
                bunny = std::make_unique<Marrowgate::Graphics::Sprite>(sheet.GetTexture());
            }
            mBunnies.push_back(bunny.get());
            AddManagedGraphic(std::move(bunny));
        }
        PlaceBunnies();
    }

    const FrameCosts& GetCosts() const { return mMeter.GetCosts(); }

    void OnOpen() override
    {
        GameScene::OnOpen();
        if (mVariant == Variant::LogicalView) {
            Marrowgate::Graphics::SetLogicalView(static_cast<Marrowgate::Graphics::PixelSpace>(kWindowWidth),
                                                 static_cast<Marrowgate::Graphics::PixelSpace>(kWindowHeight),
                                                 Marrowgate::Graphics::ViewScaling::Fit);
        }
    }

    void OnClose() override
    {
        GameScene::OnClose();
        Marrowgate::Graphics::ResetView();
    }

protected:
    // Once per frame, whatever the fixed steps did: the field moves one step per drawn frame in
    // every program of the comparison.
    void OnUpdate(float deltaTime) override
    {
        if (!mMeter.MarkFrame()) {
            Marrowgate::Game::GameApplication::RequestQuit();
        }
        GameScene::OnUpdate(deltaTime);
        mField.Step();
        PlaceBunnies();
        for (Marrowgate::Graphics::AnimatedSprite* animated : mAnimated) {
            animated->Advance(kMillisecondsPerFrame);
        }
    }

private:
    void PlaceBunnies()
    {
        const std::vector<Bunny>& bunnies = mField.GetBunnies();
        for (std::size_t index = 0; index < bunnies.size(); ++index) {
            mBunnies[index]->SetPosition(Marrowgate::Core::Vector2(bunnies[index].x, bunnies[index].y));
        }
    }

    BunnyField mField;
    FrameMeter mMeter;
    Variant mVariant;
    std::vector<Marrowgate::Graphics::Graphic*> mBunnies;
    std::vector<Marrowgate::Graphics::AnimatedSprite*> mAnimated;
};

// The plain cases draw the bunny image alone; the animated one its sheet of four frames.
Marrowgate::Graphics::SpriteSheet LoadBunnies(Variant variant)
{
    if (variant == Variant::Animated) {
        return Marrowgate::Graphics::SpriteSheet::LoadFromFile(QUORVANE_BUNNY_SHEET);
    }
    const Marrowgate::Graphics::TextureHandle texture =
        Marrowgate::Graphics::CreateTextureFromFile(QUORVANE_BUNNY_IMAGE);
    return Marrowgate::Graphics::SpriteSheet::FromGrid(texture, 32, 32);
}

} // namespace

int main(int argumentCount, char** arguments)
{
    const std::optional<BunnyRunOptions> options =
        ParseBunnyRunOptions(argumentCount, arguments, "[--animated | --logical-view]");
    if (!options) {
        return 2;
    }
    Variant variant = Variant::Plain;
    for (const std::string& flag : options->flags) {
        if (flag == "--animated" && variant == Variant::Plain) {
            variant = Variant::Animated;
        } else if (flag == "--logical-view" && variant == Variant::Plain) {
            variant = Variant::LogicalView;
        } else {
            std::fprintf(stderr, "bunnies_marrowgate: unknown or second variant '%s'\n", flag.c_str());
            return 2;
        }
    }
    // A windowed 0 x 0 request is the default 1280 x 720 window; vertical sync off.
    Marrowgate::Game::GameApplication application(Marrowgate::Application::WindowMode::kWindowed, 0, 0,
                                                  false);
    application.SetWindowTitle("bunnies");
    FrameCosts costs;
    {
        const Marrowgate::Graphics::SpriteSheet sheet = LoadBunnies(variant);
        if (sheet.IsEmpty()) {
            return EXIT_FAILURE;
        }
        BunnyScene scene(*options, variant, sheet);
        // Pending before the loop starts, the scene is current from the first frame, with no logo.
        Marrowgate::Game::GameApplication::ChangeToScene(&scene);
        application.RunGame(nullptr);
        costs = scene.GetCosts();
    }
    PrintBunnyRow(DescribeVariant(variant), options->count, costs);
    return EXIT_SUCCESS;
}
