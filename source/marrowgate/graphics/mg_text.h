#pragma once
/// Text: a graphic that shows one line of UTF-8 text in a TrueType font.
/// @file
/// SetText rasterises the whole line on the CPU into a single-channel coverage texture of its own
/// (power-of-two sides) when the string, size or font changed, or the context came or went since
/// the last time; setting the same text again costs nothing. Drawing is one quad: the coverage becomes alpha
/// and the graphic's colour shows through. Fonts are cached by file name; the empty name is the built-in font
/// (Comfortaa Bold). Every live Text is registered, so that the module can drop the textures before a context
/// goes away and rebuild them in the next one. Depends on: Graphic, the texture manager (memory counter), the
/// basic renderer, fonts.
///
/// Limits: one line; a text wider or taller than 32768 pixels, or whose texture would exceed
/// 64 MiB, is refused and draws nothing.
/// Without a rendering context the text is measured but gets no texture until the module's
/// CreateGraphicsResources runs.

#include "marrowgate/graphics/mg_graphic.h"

#include <memory>
#include <string>

namespace Marrowgate::Graphics {

class Text : public Graphic
{
public:
    static constexpr float kDefaultFontSize = 25.0f;

    explicit Text(const std::string& text = std::string(), float fontSize = kDefaultFontSize,
                  const std::string& fontFileName = std::string());
    ~Text() override;

    // A size of 0 or less and an empty font name keep the current ones. An empty text draws
    // nothing. A font that cannot be loaded is reported and the text draws nothing.
    void SetText(const std::string& text, float fontSize = 0.0f,
                 const std::string& fontFileName = std::string());
    const std::string& GetText() const { return mText; }
    float GetFontSize() const { return mFontSize; }
    const std::string& GetFontFileName() const { return mFontFileName; }

    // The measured text in pixels; 0 without a rasterised text.
    PixelSpace GetPixelWidth() const override;
    PixelSpace GetPixelHeight() const override;
    // The sides of the coverage texture; 0 without a rasterised text.
    PixelSpace GetTextureWidth() const;
    PixelSpace GetTextureHeight() const;

    // The text module's resource hooks, run by the game application after the texture
    // manager's: every registered text is rasterised again, or gives up its texture.
    static void CreateGraphicsResources();
    static void ReleaseGraphicsResources();

protected:
    void OnRender() override;

private:
    struct TextObject;

    void DeleteTextObject();
    // Rasterises mText and uploads it when a context exists.
    void Rebuild();

    std::unique_ptr<TextObject> mTextObject;
    std::string mFontFileName;
    std::string mText;
    float mFontSize = kDefaultFontSize;
    // Whether the text object matches mText, mFontSize and mFontFileName, and whether it was made
    // with a context (and so has a texture).
    bool mIsCurrent = false;
    bool mIsBuiltWithContext = false;
};

} // namespace Marrowgate::Graphics
