#include "canvas.h"

#include <stb/stb_image_write.h>
#include <stb/stb_truetype.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace GameAssets {

namespace {

constexpr int kSamplesPerAxis = 4;
constexpr float kPi = 3.14159265358979f;

// Where the horizontal line at height y crosses the contours' edges, left to right. A point
// is inside (even-odd rule) when an odd number of crossings lie to its left.
std::vector<float> Crossings(const std::vector<Contour>& contours, float y)
{
    std::vector<float> crossings;
    for (const Contour& contour : contours) {
        for (std::size_t i = 0, j = contour.size() - 1; i < contour.size(); j = i++) {
            const Point2& a = contour[i];
            const Point2& b = contour[j];
            if ((a.y > y) != (b.y > y)) {
                crossings.push_back((b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x);
            }
        }
    }
    std::sort(crossings.begin(), crossings.end());
    return crossings;
}

} // namespace

Contour CirclePolygon(Point2 center, float radius, int segments)
{
    Contour circle;
    for (int i = 0; i < segments; ++i) {
        const float angle = 2.0f * kPi * static_cast<float>(i) / static_cast<float>(segments);
        circle.push_back({center.x + radius * std::cos(angle), center.y + radius * std::sin(angle)});
    }
    return circle;
}

Canvas::Canvas(int width, int height)
    : mWidth(width), mHeight(height), mPremultiplied(static_cast<std::size_t>(width * height), {0, 0, 0, 0})
{}

void Canvas::Blend(int x, int y, float coverage, Paint paint)
{
    const float alpha = paint[3] * coverage;
    auto& pixel = mPremultiplied[static_cast<std::size_t>(y * mWidth + x)];
    for (int channel = 0; channel < 3; ++channel) {
        pixel[channel] = paint[channel] * alpha + pixel[channel] * (1.0f - alpha);
    }
    pixel[3] = alpha + pixel[3] * (1.0f - alpha);
}

void Canvas::FillContours(const std::vector<Contour>& contours, Paint paint)
{
    float minimumX = 1e9f, minimumY = 1e9f, maximumX = -1e9f, maximumY = -1e9f;
    for (const Contour& contour : contours) {
        for (const Point2& point : contour) {
            minimumX = std::min(minimumX, point.x);
            minimumY = std::min(minimumY, point.y);
            maximumX = std::max(maximumX, point.x);
            maximumY = std::max(maximumY, point.y);
        }
    }
    const int left = std::max(0, static_cast<int>(std::floor(minimumX)));
    const int top = std::max(0, static_cast<int>(std::floor(minimumY)));
    const int right = std::min(mWidth - 1, static_cast<int>(std::ceil(maximumX)));
    const int bottom = std::min(mHeight - 1, static_cast<int>(std::ceil(maximumY)));
    constexpr float kStep = 1.0f / kSamplesPerAxis;
    const int columns = right - left + 1;
    std::vector<int> hits(static_cast<std::size_t>(std::max(columns, 0)));
    for (int y = top; y <= bottom; ++y) {
        std::fill(hits.begin(), hits.end(), 0);
        for (int sampleY = 0; sampleY < kSamplesPerAxis; ++sampleY) {
            const std::vector<float> crossings =
                Crossings(contours, static_cast<float>(y) + (static_cast<float>(sampleY) + 0.5f) * kStep);
            std::size_t passed = 0;
            for (int column = 0; column < columns; ++column) {
                for (int sampleX = 0; sampleX < kSamplesPerAxis; ++sampleX) {
                    const float x =
                        static_cast<float>(left + column) + (static_cast<float>(sampleX) + 0.5f) * kStep;
                    while (passed < crossings.size() && crossings[passed] <= x) {
                        ++passed;
                    }
                    hits[static_cast<std::size_t>(column)] += static_cast<int>(passed % 2);
                }
            }
        }
        for (int column = 0; column < columns; ++column) {
            const int count = hits[static_cast<std::size_t>(column)];
            if (count > 0) {
                Blend(left + column, y, static_cast<float>(count) / (kSamplesPerAxis * kSamplesPerAxis),
                      paint);
            }
        }
    }
}

void Canvas::FillCircle(Point2 center, float radius, Paint paint)
{
    FillPolygon(CirclePolygon(center, radius, 96), paint);
}

void Canvas::FillRing(Point2 center, float outerRadius, float innerRadius, Paint paint)
{
    FillContours({CirclePolygon(center, outerRadius, 128), CirclePolygon(center, innerRadius, 128)}, paint);
}

void Canvas::FillRoundedRectangle(Point2 topLeft, Point2 bottomRight, float cornerRadius, Paint paint)
{
    Contour outline;
    const Point2 corners[4] = {{bottomRight.x - cornerRadius, bottomRight.y - cornerRadius},
                               {topLeft.x + cornerRadius, bottomRight.y - cornerRadius},
                               {topLeft.x + cornerRadius, topLeft.y + cornerRadius},
                               {bottomRight.x - cornerRadius, topLeft.y + cornerRadius}};
    constexpr int kArcSteps = 12;
    for (int corner = 0; corner < 4; ++corner) {
        for (int step = 0; step <= kArcSteps; ++step) {
            const float angle =
                (static_cast<float>(corner) + static_cast<float>(step) / kArcSteps) * 0.5f * kPi;
            outline.push_back({corners[corner].x + cornerRadius * std::cos(angle),
                               corners[corner].y + cornerRadius * std::sin(angle)});
        }
    }
    FillPolygon(outline, paint);
}

bool Canvas::DrawText(const std::vector<unsigned char>& font, const std::string& text, float pixelHeight,
                      float centerX, float baselineY, float extraSpacing, Paint paint)
{
    stbtt_fontinfo info;
    if (font.empty() || !stbtt_InitFont(&info, font.data(), stbtt_GetFontOffsetForIndex(font.data(), 0))) {
        return false;
    }
    const float scale = stbtt_ScaleForPixelHeight(&info, pixelHeight);
    const auto advanceOf = [&](char character) {
        int advance = 0;
        int bearing = 0;
        stbtt_GetCodepointHMetrics(&info, static_cast<unsigned char>(character), &advance, &bearing);
        return static_cast<float>(advance) * scale + extraSpacing;
    };
    float width = -extraSpacing;
    for (char character : text) {
        width += advanceOf(character);
    }
    float penX = centerX - width * 0.5f;
    for (char character : text) {
        const float shift = penX - std::floor(penX);
        int glyphWidth = 0, glyphHeight = 0, offsetX = 0, offsetY = 0;
        unsigned char* bitmap = stbtt_GetCodepointBitmapSubpixel(
            &info, scale, scale, shift, 0.0f, static_cast<unsigned char>(character), &glyphWidth,
            &glyphHeight, &offsetX, &offsetY);
        const int originX = static_cast<int>(std::floor(penX)) + offsetX;
        const int originY = static_cast<int>(std::lround(baselineY)) + offsetY;
        for (int row = 0; row < glyphHeight; ++row) {
            for (int column = 0; column < glyphWidth; ++column) {
                const int x = originX + column;
                const int y = originY + row;
                const unsigned char coverage = bitmap[row * glyphWidth + column];
                if (coverage != 0 && x >= 0 && y >= 0 && x < mWidth && y < mHeight) {
                    Blend(x, y, static_cast<float>(coverage) / 255.0f, paint);
                }
            }
        }
        stbtt_FreeBitmap(bitmap, nullptr);
        penX += advanceOf(character);
    }
    return true;
}

bool Canvas::SavePng(const std::string& path) const
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(mPremultiplied.size() * 4);
    for (const auto& pixel : mPremultiplied) {
        const float alpha = pixel[3];
        for (int channel = 0; channel < 3; ++channel) {
            const float straight = alpha > 0.0f ? pixel[channel] / alpha : 0.0f;
            bytes.push_back(
                static_cast<std::uint8_t>(std::lround(std::clamp(straight, 0.0f, 1.0f) * 255.0f)));
        }
        bytes.push_back(static_cast<std::uint8_t>(std::lround(std::clamp(alpha, 0.0f, 1.0f) * 255.0f)));
    }
    return stbi_write_png(path.c_str(), mWidth, mHeight, 4, bytes.data(), mWidth * 4) != 0;
}

} // namespace GameAssets
