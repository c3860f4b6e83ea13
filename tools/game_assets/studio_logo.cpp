#include "game_images.h"

namespace GameAssets {

namespace {

// A wren folded from paper: every facet is one flat triangle in its own shade, the way
// folded paper catches light. Coordinates are pixels of the 512 x 512 logo, y down.
struct Facet
{
    Contour corners;
    Paint paint;
};

std::vector<Facet> WrenFacets()
{
    const Paint light{0.98f, 0.80f, 0.52f, 1.0f};
    const Paint warm{0.94f, 0.62f, 0.30f, 1.0f};
    const Paint mid{0.80f, 0.46f, 0.20f, 1.0f};
    const Paint dark{0.62f, 0.33f, 0.15f, 1.0f};
    const Paint deep{0.46f, 0.23f, 0.11f, 1.0f};
    const Paint beak{0.99f, 0.88f, 0.40f, 1.0f};
    return {
        {{{150, 236}, {84, 104}, {126, 96}}, dark},               // tail, outer fold
        {{{150, 236}, {126, 96}, {196, 206}}, mid},               // tail, inner fold
        {{{150, 236}, {196, 206}, {300, 168}, {262, 262}}, warm}, // back
        {{{196, 206}, {300, 168}, {262, 262}}, mid},              // wing crease
        {{{262, 262}, {300, 168}, {360, 292}}, dark},             // wing
        {{{300, 168}, {346, 124}, {390, 184}}, warm},             // crown
        {{{300, 168}, {390, 184}, {360, 292}}, light},            // breast
        {{{390, 184}, {436, 180}, {384, 204}}, beak},             // beak
        {{{150, 236}, {262, 262}, {248, 330}}, deep},             // belly shadow
        {{{262, 262}, {360, 292}, {248, 330}}, mid},              // belly
        {{{238, 328}, {250, 328}, {244, 372}, {232, 372}}, deep}, // leg
        {{{276, 318}, {288, 318}, {284, 372}, {272, 372}}, deep}, // leg
    };
}

} // namespace

Canvas DrawStudioLogo(const std::vector<unsigned char>& font)
{
    // The bird is drawn 26 pixels higher than its facet table says, to leave room for the name.
    constexpr float kLift = -26.0f;
    const Paint teal{0.30f, 0.62f, 0.64f, 1.0f};
    Canvas canvas(512, 512);
    canvas.FillRing({256, 212}, 184, 173, teal);
    for (Facet facet : WrenFacets()) {
        for (Point2& corner : facet.corners) {
            corner.y += kLift;
        }
        canvas.FillPolygon(facet.corners, facet.paint);
    }
    canvas.FillCircle({352, 164 + kLift}, 7, {0.10f, 0.06f, 0.04f, 1.0f});
    canvas.FillCircle({354, 162 + kLift}, 2.2f, {1.0f, 1.0f, 1.0f, 1.0f});
    // The perch.
    canvas.FillRoundedRectangle({170, 370 + kLift}, {370, 382 + kLift}, 6, teal);
    canvas.DrawText(font, "WRENFOLD", 62, 256, 458, 4, {0.97f, 0.95f, 0.90f, 1.0f});
    canvas.DrawText(font, "STUDIO", 22, 256, 494, 12, teal);
    return canvas;
}

Canvas DrawGameIcon(int size)
{
    // Drawn on a 256-unit grid and scaled, so every size shows the same picture: a memory
    // chip with gold legs on a dark tile, a red stripe for the car across its top.
    const float unit = static_cast<float>(size) / 256.0f;
    const auto at = [unit](float x, float y) { return Point2{x * unit, y * unit}; };
    Canvas canvas(size, size);
    canvas.FillRoundedRectangle(at(8, 8), at(248, 248), 40 * unit, {0.09f, 0.12f, 0.20f, 1.0f});
    const Paint gold{0.96f, 0.76f, 0.26f, 1.0f};
    for (int pin = 0; pin < 5; ++pin) {
        const float y = 70.0f + 29.0f * static_cast<float>(pin);
        canvas.FillRoundedRectangle(at(34, y), at(80, y + 16), 4 * unit, gold);
        canvas.FillRoundedRectangle(at(176, y), at(222, y + 16), 4 * unit, gold);
    }
    canvas.FillRoundedRectangle(at(64, 48), at(192, 208), 14 * unit, {0.20f, 0.21f, 0.25f, 1.0f});
    canvas.FillCircle(at(88, 72), 9 * unit, {0.55f, 0.56f, 0.60f, 1.0f});
    canvas.FillRing(at(128, 132), 42 * unit, 27 * unit, gold);
    canvas.FillPolygon({at(140, 150), at(156, 140), at(178, 170), at(162, 180)}, gold);
    canvas.FillRoundedRectangle(at(64, 192), at(192, 208), 6 * unit, {0.88f, 0.14f, 0.10f, 1.0f});
    return canvas;
}

} // namespace GameAssets
