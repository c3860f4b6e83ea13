// The bunnies scene written as a Marrowgate game developer writes it: a game scene that owns
// one Sprite per bunny and moves them in its frame update. Prints one table row.
//   bunnies_marrowgate COUNT [--warm-up FRAMES] [--frames FRAMES]
#include "bunny_field.h"
#include "bunny_run.h"

#include "marrowgate/game/mg_game_application.h"
#include "marrowgate/game/mg_game_scene.h"
#include "marrowgate/graphics/mg_sprite.h"
#include "marrowgate/graphics/mg_texture_manager.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using namespace QuorvaneBench;

class BunnyScene final : public Marrowgate::Game::GameScene
{
public:
    BunnyScene(const BunnyRunOptions& options, Marrowgate::Graphics::TextureHandle texture)
        : mField(options.count), mMeter(options.warmUpFrames, options.measuredFrames)
    {
        mSprites.reserve(static_cast<std::size_t>(options.count));
        for (int index = 0; index < options.count; ++index) {
            auto sprite = std::make_unique<Marrowgate::Graphics::Sprite>(texture);
            mSprites.push_back(sprite.get());
            AddManagedGraphic(std::move(sprite));
        }
        PlaceSprites();
    }

    const FrameCosts& GetCosts() const { return mMeter.GetCosts(); }

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
        PlaceSprites();
    }

private:
    void PlaceSprites()
    {
        const std::vector<Bunny>& bunnies = mField.GetBunnies();
        for (std::size_t index = 0; index < bunnies.size(); ++index) {
            mSprites[index]->SetPosition(Marrowgate::Core::Vector2(bunnies[index].x, bunnies[index].y));
        }
    }

    BunnyField mField;
    FrameMeter mMeter;
    std::vector<Marrowgate::Graphics::Sprite*> mSprites;
};

} // namespace

int main(int argumentCount, char** arguments)
{
    const std::optional<BunnyRunOptions> options = ParseBunnyRunOptions(argumentCount, arguments, "");
    if (!options) {
        return 2;
    }
    if (!options->flags.empty()) {
        std::fprintf(stderr, "bunnies_marrowgate: unknown argument '%s'\n", options->flags.front().c_str());
        return 2;
    }
    // A windowed 0 x 0 request is the default 1280 x 720 window; vertical sync off.
    Marrowgate::Game::GameApplication application(Marrowgate::Application::WindowMode::kWindowed, 0, 0,
                                                  false);
    application.SetWindowTitle("bunnies");
    FrameCosts costs;
    {
        BunnyScene scene(*options, Marrowgate::Graphics::CreateTextureFromFile(QUORVANE_BUNNY_IMAGE));
        // Pending before the loop starts, the scene is current from the first frame, with no logo.
        Marrowgate::Game::GameApplication::ChangeToScene(&scene);
        application.RunGame(nullptr);
        costs = scene.GetCosts();
    }
    PrintBunnyRow("Marrowgate, one Sprite per bunny", options->count, costs);
    return EXIT_SUCCESS;
}
