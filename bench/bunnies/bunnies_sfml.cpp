// The bunnies scene written with SFML, in the two ways its users write it: one sf::Sprite drawn
// per bunny (the ordinary way), or one sf::VertexArray of quads rebuilt every frame (the way a
// speed-minded user batches by hand). Prints one table row.
//   bunnies_sfml COUNT [--warm-up FRAMES] [--frames FRAMES] [--vertex-array] [--default-filtering]
//
// By default the texture samples as Marrowgate's texture manager makes every texture sample:
// mipmaps generated and smooth filtering, so both draw with the same per-pixel work. SFML's own
// default (no mipmaps, nearest) is the --default-filtering variant.
#include "bunny_field.h"
#include "bunny_run.h"

#include <SFML/Graphics.hpp>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace QuorvaneBench;

struct Variant
{
    bool vertexArray = false;
    bool defaultFiltering = false;
};

std::string DescribeVariant(const Variant& variant)
{
    std::string name = variant.vertexArray ? "SFML, one VertexArray of quads" : "SFML, one Sprite per bunny";
    return name + (variant.defaultFiltering ? ", default filtering" : ", mipmaps + smooth");
}

void DrawSprites(sf::RenderWindow& window, sf::Sprite& sprite, const BunnyField& field)
{
    for (const Bunny& bunny : field.GetBunnies()) {
        sprite.setPosition(bunny.x, bunny.y);
        window.draw(sprite);
    }
}

void DrawVertexArray(sf::RenderWindow& window, sf::VertexArray& quads, const sf::Texture& texture,
                     const BunnyField& field)
{
    const std::vector<Bunny>& bunnies = field.GetBunnies();
    for (std::size_t index = 0; index < bunnies.size(); ++index) {
        const float left = bunnies[index].x;
        const float top = bunnies[index].y;
        sf::Vertex* quad = &quads[index * 4];
        quad[0].position = sf::Vector2f(left, top);
        quad[1].position = sf::Vector2f(left + kBunnySize, top);
        quad[2].position = sf::Vector2f(left + kBunnySize, top + kBunnySize);
        quad[3].position = sf::Vector2f(left, top + kBunnySize);
    }
    window.draw(quads, &texture);
}

} // namespace

int main(int argumentCount, char** arguments)
{
    const std::optional<BunnyRunOptions> options =
        ParseBunnyRunOptions(argumentCount, arguments, "[--vertex-array] [--default-filtering]");
    if (!options) {
        return 2;
    }
    Variant variant;
    for (const std::string& flag : options->flags) {
        if (flag == "--vertex-array") {
            variant.vertexArray = true;
        } else if (flag == "--default-filtering") {
            variant.defaultFiltering = true;
        } else {
            std::fprintf(stderr, "bunnies_sfml: unknown argument '%s'\n", flag.c_str());
            return 2;
        }
    }

    sf::RenderWindow window(
        sf::VideoMode(static_cast<unsigned>(kWindowWidth), static_cast<unsigned>(kWindowHeight)), "bunnies",
        sf::Style::Titlebar | sf::Style::Close);
    window.setVerticalSyncEnabled(false);
    sf::Texture texture;
    if (!texture.loadFromFile(QUORVANE_BUNNY_IMAGE)) {
        return EXIT_FAILURE;
    }
    if (!variant.defaultFiltering) {
        texture.generateMipmap();
        texture.setSmooth(true);
    }
    sf::Sprite sprite(texture);
    sf::VertexArray quads(sf::Quads, variant.vertexArray ? static_cast<std::size_t>(options->count) * 4 : 0);
    for (std::size_t index = 0; index < quads.getVertexCount(); ++index) {
        // Corners in the order the quads are filled: top-left, top-right, bottom-right, bottom-left.
        const std::size_t corner = index % 4;
        quads[index].texCoords =
            sf::Vector2f(corner == 1 || corner == 2 ? kBunnySize : 0.0f, corner >= 2 ? kBunnySize : 0.0f);
    }

    BunnyField field(options->count);
    FrameMeter meter(options->warmUpFrames, options->measuredFrames);
    while (window.isOpen() && meter.MarkFrame()) {
        sf::Event event;
        while (window.pollEvent(event)) {
            if (event.type == sf::Event::Closed) {
                window.close();
            }
        }
        field.Step();
        window.clear();
        if (variant.vertexArray) {
            DrawVertexArray(window, quads, texture, field);
        } else {
            DrawSprites(window, sprite, field);
        }
        window.display();
    }
    PrintBunnyRow(DescribeVariant(variant), options->count, meter.GetCosts());
    return EXIT_SUCCESS;
}
