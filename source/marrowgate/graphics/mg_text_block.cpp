#include "marrowgate/graphics/mg_text_block.h"

#include "marrowgate/graphics/fonts/mg_font.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace Marrowgate::Graphics {

namespace {

// The end of the longest prefix of `word` that fits, at a UTF-8 character boundary, and never
// before the end of the first character.
std::size_t FittingPrefix(std::string_view word, float wrapWidth,
                          const std::function<float(std::string_view)>& measure)
{
    std::size_t fitting = 0;
    std::size_t position = 0;
    while (position < word.size()) {
        std::size_t next = position + 1;
        while (next < word.size() && (static_cast<unsigned char>(word[next]) & 0xC0u) == 0x80u) {
            ++next;
        }
        if (fitting != 0 && measure(word.substr(0, next)) > wrapWidth) {
            break;
        }
        fitting = next;
        position = next;
    }
    return fitting;
}

void WrapParagraph(std::string_view paragraph, float wrapWidth,
                   const std::function<float(std::string_view)>& measure, std::vector<std::string>& lines)
{
    std::string line;
    std::size_t start = 0;
    while (start <= paragraph.size()) {
        const std::size_t space = std::min(paragraph.find(' ', start), paragraph.size());
        std::string_view word = paragraph.substr(start, space - start);
        start = space + 1;
        const std::string candidate = line.empty() ? std::string(word) : line + " " + std::string(word);
        if (measure(candidate) <= wrapWidth) {
            line = candidate;
            continue;
        }
        if (!line.empty()) {
            lines.push_back(line);
        }
        while (measure(word) > wrapWidth) {
            const std::size_t fitting = FittingPrefix(word, wrapWidth, measure);
            if (fitting >= word.size()) {
                break; // one character wider than the width: it has the line to itself
            }
            lines.emplace_back(word.substr(0, fitting));
            word.remove_prefix(fitting);
        }
        line = std::string(word);
    }
    lines.push_back(line);
}

} // namespace

std::vector<std::string> WrapText(std::string_view text, float wrapWidth,
                                  const std::function<float(std::string_view)>& measure)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view paragraph = text.substr(start, end - start);
        if (wrapWidth > 0.0f) {
            WrapParagraph(paragraph, wrapWidth, measure, lines);
        } else {
            lines.emplace_back(paragraph);
        }
        start = end + 1;
    }
    return lines;
}

TextBlock::TextBlock(const std::string& text, float fontSize, const std::string& fontFileName)
    : mText(text), mFontSize(fontSize), mFontFileName(fontFileName)
{
    Layout();
}

TextBlock::~TextBlock() = default;

void TextBlock::SetText(const std::string& text)
{
    if (text != mText) {
        mText = text;
        Layout();
    }
}

void TextBlock::SetWrapWidth(float pixels)
{
    mWrapWidth = std::max(0.0f, pixels);
    Layout();
}

void TextBlock::SetAlignment(TextAlignment alignment)
{
    mAlignment = alignment;
    Layout();
}

void TextBlock::SetLineSpacing(float factor)
{
    mLineSpacing = factor > 0.0f ? factor : 1.0f;
    Layout();
}

void TextBlock::SetEffect(TextEffect effect, const Color& color, float size)
{
    mEffect = effect;
    mEffectColor = color;
    mEffectSize = size;
}

float TextBlock::LineAdvance() const
{
    return std::round(mLineHeight * mLineSpacing);
}

void TextBlock::Layout()
{
    mgImplementation::Font* font = mgImplementation::FindFont(mFontFileName);
    if (font == nullptr) {
        mLines.clear();
        return;
    }
    // The cached font is shared: set this block's size before measuring.
    font->SetFontSize(mFontSize);
    mLineHeight = static_cast<float>(font->MeasureLineHeight());
    const std::vector<std::string> texts = WrapText(mText, mWrapWidth, [font](std::string_view text) {
        return static_cast<float>(font->MeasureTextWidth(text));
    });
    // Lines keep their Text objects, so only a line whose string changed is rasterised again.
    mLines.resize(texts.size());
    for (std::size_t index = 0; index < texts.size(); ++index) {
        if (!mLines[index]) {
            mLines[index] = std::make_unique<Text>(texts[index], mFontSize, mFontFileName);
        } else {
            mLines[index]->SetText(texts[index]);
        }
    }
    const float blockWidth = static_cast<float>(GetPixelWidth());
    for (std::size_t index = 0; index < mLines.size(); ++index) {
        const float width = mLines[index]->GetPixelWidth();
        const float x = mAlignment == TextAlignment::Left     ? 0.0f
                        : mAlignment == TextAlignment::Center ? std::floor((blockWidth - width) / 2.0f)
                                                              : blockWidth - width;
        mLines[index]->SetPosition(Vector2(x, static_cast<float>(index) * LineAdvance()));
        // Lines stand still within the block; the block's own transform applies the camera.
        mLines[index]->SetScrollFactor(Vector2(0.0f, 0.0f));
    }
}

TextLineBounds TextBlock::GetLineBounds(std::size_t line) const
{
    const Text& text = *mLines[line];
    return {text.GetPosition().x, text.GetPosition().y, static_cast<float>(text.GetPixelWidth()),
            mLineHeight};
}

PixelSpace TextBlock::GetPixelWidth() const
{
    if (mWrapWidth > 0.0f) {
        return ToPixelSpace(mWrapWidth);
    }
    PixelSpace widest = 0;
    for (const auto& line : mLines) {
        widest = std::max(widest, line->GetPixelWidth());
    }
    return widest;
}

PixelSpace TextBlock::GetPixelHeight() const
{
    if (mLines.empty()) {
        return 0;
    }
    return ToPixelSpace(static_cast<float>(mLines.size() - 1) * LineAdvance() + mLineHeight);
}

void TextBlock::OnRender()
{
    std::vector<Vector2> offsets;
    if (mEffect == TextEffect::Shadow) {
        offsets = {Vector2(mEffectSize, mEffectSize)};
    } else if (mEffect == TextEffect::Outline) {
        const float side = mEffectSize;
        const float diagonal = std::round(mEffectSize * 0.7071f);
        offsets = {Vector2(-side, 0.0f),         Vector2(side, 0.0f),           Vector2(0.0f, -side),
                   Vector2(0.0f, side),          Vector2(-diagonal, -diagonal), Vector2(diagonal, -diagonal),
                   Vector2(-diagonal, diagonal), Vector2(diagonal, diagonal)};
    }
    for (const auto& line : mLines) {
        const Vector2 position = line->GetPosition();
        // The effect fades with the letters.
        line->SetColor(Color(mEffectColor.GetAlpha() * GetColor().GetAlpha(), mEffectColor.GetRed(),
                             mEffectColor.GetGreen(), mEffectColor.GetBlue()));
        for (const Vector2& offset : offsets) {
            line->SetPosition(Vector2(position.x + offset.x, position.y + offset.y));
            line->Render();
        }
        line->SetPosition(position);
        line->SetColor(GetColor());
        line->Render();
    }
}

} // namespace Marrowgate::Graphics
