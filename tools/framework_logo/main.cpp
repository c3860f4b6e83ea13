// Draws the Marrowgate framework logo, a 256 x 256 RGBA PNG: a bone-white gate with barred
// opening and an amber keystone, on a round slate-teal badge with a light rim; transparent
// outside the badge so that it fades cleanly over any background.
//
// Usage: marrowgate_logo_generator <output.png>
// Every shape is a signed-distance test; each pixel averages 4 x 4 samples for smooth edges.

#include <stb/stb_image_write.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int kSize = 256;
constexpr int kSamplesPerAxis = 4;

using Rgba = std::array<float, 4>; // straight alpha, 0..1

struct Layer
{
    bool (*contains)(float x, float y);
    Rgba color;
};

bool InCircle(float x, float y, float centerX, float centerY, float radius)
{
    return (x - centerX) * (x - centerX) + (y - centerY) * (y - centerY) <= radius * radius;
}

bool InRectangle(float x, float y, float left, float top, float right, float bottom)
{
    return x >= left && x <= right && y >= top && y <= bottom;
}

bool Badge(float x, float y)
{
    return InCircle(x, y, 128.0f, 128.0f, 124.0f);
}

bool BadgeFace(float x, float y)
{
    return InCircle(x, y, 128.0f, 128.0f, 114.0f);
}

// The arch: pillars joined by a half-ring, with the opening cut out.
bool Opening(float x, float y)
{
    return InRectangle(x, y, 98.0f, 118.0f, 158.0f, 196.0f) ||
           (y <= 118.0f && InCircle(x, y, 128.0f, 118.0f, 30.0f));
}

bool Gate(float x, float y)
{
    const bool outer = InRectangle(x, y, 70.0f, 118.0f, 186.0f, 196.0f) ||
                       (y <= 118.0f && InCircle(x, y, 128.0f, 118.0f, 58.0f));
    return outer && !Opening(x, y);
}

bool Bars(float x, float y)
{
    if (!Opening(x, y)) {
        return false;
    }
    for (const float barX : {113.0f, 128.0f, 143.0f}) {
        if (std::fabs(x - barX) <= 2.5f) {
            return true;
        }
    }
    return InRectangle(x, y, 98.0f, 150.0f, 158.0f, 154.0f);
}

bool Step(float x, float y)
{
    return InRectangle(x, y, 58.0f, 198.0f, 198.0f, 210.0f);
}

bool Keystone(float x, float y)
{
    return std::fabs(x - 128.0f) + std::fabs(y - 74.0f) <= 11.0f;
}

Rgba Over(const Rgba& top, float coverage, const Rgba& bottom)
{
    const float alpha = top[3] * coverage;
    const float resultAlpha = alpha + bottom[3] * (1.0f - alpha);
    Rgba result{0.0f, 0.0f, 0.0f, resultAlpha};
    if (resultAlpha > 0.0f) {
        for (int channel = 0; channel < 3; ++channel) {
            result[channel] =
                (top[channel] * alpha + bottom[channel] * bottom[3] * (1.0f - alpha)) / resultAlpha;
        }
    }
    return result;
}

float Coverage(bool (*contains)(float, float), int pixelX, int pixelY)
{
    int inside = 0;
    for (int sampleY = 0; sampleY < kSamplesPerAxis; ++sampleY) {
        for (int sampleX = 0; sampleX < kSamplesPerAxis; ++sampleX) {
            const float x =
                static_cast<float>(pixelX) + (static_cast<float>(sampleX) + 0.5f) / kSamplesPerAxis;
            const float y =
                static_cast<float>(pixelY) + (static_cast<float>(sampleY) + 0.5f) / kSamplesPerAxis;
            inside += contains(x, y) ? 1 : 0;
        }
    }
    return static_cast<float>(inside) / (kSamplesPerAxis * kSamplesPerAxis);
}

std::vector<unsigned char> DrawLogo()
{
    const Layer layers[] = {
        {Badge, {0.55f, 0.85f, 0.80f, 1.0f}},                                              // rim
        {BadgeFace, {0.10f, 0.26f, 0.31f, 1.0f}},                                          // slate-teal face
        {Bars, {0.95f, 0.92f, 0.86f, 0.75f}},     {Gate, {0.95f, 0.92f, 0.86f, 1.0f}},     // bone white
        {Step, {0.95f, 0.92f, 0.86f, 1.0f}},      {Keystone, {0.96f, 0.65f, 0.25f, 1.0f}}, // amber
    };
    std::vector<unsigned char> pixels(kSize * kSize * 4);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            Rgba color{0.0f, 0.0f, 0.0f, 0.0f};
            for (const Layer& layer : layers) {
                color = Over(layer.color, Coverage(layer.contains, x, y), color);
            }
            for (int channel = 0; channel < 4; ++channel) {
                const float value = std::clamp(color[channel], 0.0f, 1.0f) * 255.0f + 0.5f;
                pixels[(y * kSize + x) * 4 + channel] = static_cast<unsigned char>(value);
            }
        }
    }
    return pixels;
}

} // namespace

int main(int argumentCount, char** arguments)
{
    if (argumentCount != 2) {
        std::fprintf(stderr, "Usage: %s <output.png>\n", arguments[0]);
        return 2;
    }
    const std::vector<unsigned char> pixels = DrawLogo();
    if (stbi_write_png(arguments[1], kSize, kSize, 4, pixels.data(), kSize * 4) == 0) {
        std::fprintf(stderr, "Could not write %s\n", arguments[1]);
        return 1;
    }
    return 0;
}
