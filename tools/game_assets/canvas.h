#pragma once
// A small RGBA canvas for drawing flat-shaded vector art: anti-aliased polygon fills
// (several contours, even-odd rule, so rings and holes work), circles and TrueType text,
// composited "over" in premultiplied floats and saved as PNG.
//
// Used only by the asset generator; depends on stb_truetype and stb_image_write.
// Limits: coverage is estimated with 4 x 4 samples per pixel; no strokes, no gradients.

#include <array>
#include <string>
#include <vector>

namespace GameAssets {

struct Point2
{
    float x = 0.0f;
    float y = 0.0f;
};

// Red, green, blue, alpha as 0..1 floats (straight alpha).
using Paint = std::array<float, 4>;

using Contour = std::vector<Point2>;

class Canvas
{
public:
    Canvas(int width, int height);

    int Width() const { return mWidth; }
    int Height() const { return mHeight; }

    void FillContours(const std::vector<Contour>& contours, Paint paint);
    void FillPolygon(const Contour& polygon, Paint paint) { FillContours({polygon}, paint); }
    void FillCircle(Point2 center, float radius, Paint paint);
    void FillRing(Point2 center, float outerRadius, float innerRadius, Paint paint);
    void FillRoundedRectangle(Point2 topLeft, Point2 bottomRight, float cornerRadius, Paint paint);

    // Draws `text` centred on `centerX` with its baseline at `baselineY`, using the TrueType
    // font bytes given; `extraSpacing` pixels are added after every character. False when the
    // font cannot be read.
    bool DrawText(const std::vector<unsigned char>& font, const std::string& text, float pixelHeight,
                  float centerX, float baselineY, float extraSpacing, Paint paint);

    bool SavePng(const std::string& path) const;

private:
    void Blend(int x, int y, float coverage, Paint paint);

    int mWidth;
    int mHeight;
    std::vector<std::array<float, 4>> mPremultiplied;
};

Contour CirclePolygon(Point2 center, float radius, int segments);

} // namespace GameAssets
