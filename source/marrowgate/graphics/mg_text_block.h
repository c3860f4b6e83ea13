#pragma once
/// TextBlock: text that lays itself out in lines: breaks at newlines, wraps to a width at spaces
/// (a word wider than the width alone is broken between characters), aligns each line left,
/// centred or right, spaces the lines, measures the block, and can draw an outline or a drop
/// shadow under the letters.
/// @file
/// Each line is a Text of its own, so changing the string rasterises only the lines whose text
/// changed (a timer's one changing line costs one line's rasterisation per change, about what a
/// single-line Text of it costs), and drawing an unchanged block rasterises nothing: it is one
/// quad per line, and eight more (outline) or one more (shadow) that share the line's texture and
/// batch with it. The block's colour is the letters' colour. The pixel box is the measured block:
/// the wrap width (or the widest line without one) by the lines' height; GetLineBounds gives where
/// each line's letters lie in it. A line's letters look exactly as a Text of that line does.
/// Depends on: Text, fonts, Graphic.

#include "marrowgate/graphics/mg_color.h"
#include "marrowgate/graphics/mg_graphic.h"
#include "marrowgate/graphics/mg_text.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace Marrowgate::Graphics {

enum class TextAlignment
{
    Left,
    Center,
    Right,
};

enum class TextEffect
{
    None,
    Outline,
    Shadow,
};

struct TextLineBounds
{
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
};

// Splits at newlines and wraps each paragraph to `wrapWidth` (0 or less: no wrapping) at
// spaces, with words wider than the width broken between UTF-8 characters (at least one per
// line). `measure` gives a string's width in pixels.
std::vector<std::string> WrapText(std::string_view text, float wrapWidth,
                                  const std::function<float(std::string_view)>& measure);

class TextBlock : public Graphic
{
public:
    explicit TextBlock(const std::string& text = std::string(), float fontSize = Text::kDefaultFontSize,
                       const std::string& fontFileName = std::string());
    ~TextBlock() override;

    void SetText(const std::string& text);
    const std::string& GetText() const { return mText; }
    // Pixels; 0 turns wrapping off.
    void SetWrapWidth(float pixels);
    void SetAlignment(TextAlignment alignment);
    // Times the font's own line height; 1 by default.
    void SetLineSpacing(float factor);
    // Outline: `size` pixels all round; shadow: `size` pixels down and to the right.
    void SetEffect(TextEffect effect, const Color& color = Color(ColorPalette::Black), float size = 2.0f);

    std::size_t GetLineCount() const { return mLines.size(); }
    const std::string& GetLineText(std::size_t line) const { return mLines[line]->GetText(); }
    TextLineBounds GetLineBounds(std::size_t line) const;
    PixelSpace GetPixelWidth() const override;
    PixelSpace GetPixelHeight() const override;

protected:
    void OnRender() override;

private:
    void Layout();
    float LineAdvance() const;

    std::string mText;
    float mFontSize;
    std::string mFontFileName;
    float mWrapWidth = 0.0f;
    TextAlignment mAlignment = TextAlignment::Left;
    float mLineSpacing = 1.0f;
    TextEffect mEffect = TextEffect::None;
    Color mEffectColor = Color(ColorPalette::Black);
    float mEffectSize = 2.0f;
    std::vector<std::unique_ptr<Text>> mLines;
    float mLineHeight = 0.0f;
};

} // namespace Marrowgate::Graphics
