#include "marrowgate/graphics/mg_text.h"

#include "marrowgate/core/mg_error.h"
#include "marrowgate/graphics/fonts/mg_font.h"
#include "marrowgate/graphics/implementation/mgi_gl_name.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/mg_texture_manager.h"

#include <GL/glew.h>

#include <algorithm>
#include <vector>

namespace Marrowgate::Graphics {

using mgImplementation::CoverageBitmap;
using mgImplementation::GLName;
using mgImplementation::GLNameKind;

struct Text::TextObject
{
    GLName texture; // empty while no context exists; the memory counter counts only real ones
    PixelSpace textureWidth = 0;
    PixelSpace textureHeight = 0;
    PixelSpace textWidth = 0;
    PixelSpace textHeight = 0;
};

namespace {

std::vector<Text*>& TextRegistry()
{
    static std::vector<Text*> registry;
    return registry;
}

std::uint32_t TextureBytes(PixelSpace width, PixelSpace height)
{
    return std::uint32_t{width} * std::uint32_t{height};
}

GLName UploadCoverage(const CoverageBitmap& bitmap)
{
    GLuint name = 0;
    glGenTextures(1, &name);
    GLName texture(GLNameKind::Texture, name);
    BindTextureName(name);
    if (!IsEmbeddedProfile()) {
        const GLfloat magenta[4] = {1.0f, 0.0f, 1.0f, 1.0f};
        glTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, magenta);
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    // Coverage must scale the whole premultiplied colour. The built-in program's glyph colour
    // matrix spreads it from red (core profiles have no alpha textures) or alpha (ES 2.0 has no
    // red ones); the fixed-function pipeline's texture modulation does it with an intensity
    // texture, whose one value stands in every channel.
    GLenum internalFormat = GL_RED;
    GLenum format = GL_RED;
    if (IsFixedFunctionMode()) {
        internalFormat = GL_INTENSITY;
        format = GL_LUMINANCE;
    } else if (IsEmbeddedProfile()) {
        internalFormat = GL_ALPHA;
        format = GL_ALPHA;
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(internalFormat), bitmap.textureWidth,
                 bitmap.textureHeight, 0, format, GL_UNSIGNED_BYTE, bitmap.pixels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    return texture;
}

} // namespace

Text::Text(const std::string& text, float fontSize, const std::string& fontFileName)
    : mFontFileName(fontFileName), mFontSize(fontSize)
{
    SetText(text, fontSize, fontFileName);
    TextRegistry().push_back(this);
}

Text::~Text()
{
    std::erase(TextRegistry(), this);
    DeleteTextObject();
}

void Text::DeleteTextObject()
{
    mIsCurrent = false;
    if (!mTextObject) {
        return;
    }
    if (mTextObject->texture) {
        RemoveTextureMemory(TextureBytes(mTextObject->textureWidth, mTextObject->textureHeight));
        if (IsRendererReady()) {
            Flush(); // gathered draws may still sample it
            mTextObject->texture.Delete();
        } else {
            mTextObject->texture.Abandon(); // went with its context
        }
    }
    mTextObject.reset();
}

void Text::SetText(const std::string& text, float fontSize, const std::string& fontFileName)
{
    const float size = fontSize > 0.0f ? fontSize : mFontSize;
    const std::string& font = fontFileName.empty() ? mFontFileName : fontFileName;
    if (mIsCurrent && mIsBuiltWithContext == IsRendererReady() && text == mText && size == mFontSize &&
        font == mFontFileName) {
        return;
    }
    mFontFileName = font;
    mFontSize = size;
    mText = text;
    Rebuild();
}

void Text::Rebuild()
{
    DeleteTextObject();
    mIsCurrent = true;
    mIsBuiltWithContext = IsRendererReady();
    if (mText.empty()) {
        return;
    }
    mgImplementation::Font* font = mgImplementation::FindFont(mFontFileName);
    if (font == nullptr) {
        return;
    }
    // The cached font is shared: set this text's size before every rasterisation.
    font->SetFontSize(mFontSize);
    const std::optional<CoverageBitmap> bitmap = font->RenderTextToBitmap(mText);
    if (!bitmap) {
        return;
    }
    mTextObject = std::make_unique<TextObject>();
    mTextObject->textureWidth = bitmap->textureWidth;
    mTextObject->textureHeight = bitmap->textureHeight;
    mTextObject->textWidth = bitmap->textWidth;
    mTextObject->textHeight = bitmap->textHeight;
    if (IsRendererReady()) {
        mTextObject->texture = UploadCoverage(*bitmap);
        AddTextureMemory(TextureBytes(bitmap->textureWidth, bitmap->textureHeight));
    }
}

PixelSpace Text::GetPixelWidth() const
{
    return mTextObject ? mTextObject->textWidth : PixelSpace{0};
}

PixelSpace Text::GetPixelHeight() const
{
    return mTextObject ? mTextObject->textHeight : PixelSpace{0};
}

PixelSpace Text::GetTextureWidth() const
{
    return mTextObject ? mTextObject->textureWidth : PixelSpace{0};
}

PixelSpace Text::GetTextureHeight() const
{
    return mTextObject ? mTextObject->textureHeight : PixelSpace{0};
}

void Text::OnRender()
{
    if (!mTextObject || !mTextObject->texture || !IsRendererReady()) {
        return;
    }
    BindTextureName(mTextObject->texture.Get());
    SetColorMatrix(true);
    const auto width = static_cast<float>(mTextObject->textWidth);
    const auto height = static_cast<float>(mTextObject->textHeight);
    RenderQuad(Vector2(0.0f, 0.0f), Vector2(width, height), GetColor().GetColorABGR(), 0.0f, 0.0f,
               width / static_cast<float>(mTextObject->textureWidth),
               height / static_cast<float>(mTextObject->textureHeight));
    SetColorMatrix(false);
}

void Text::CreateGraphicsResources()
{
    // A copy: SetText may report, and a report handler could in principle create texts.
    const std::vector<Text*> texts = TextRegistry();
    for (Text* text : texts) {
        text->Rebuild();
    }
}

void Text::ReleaseGraphicsResources()
{
    for (Text* text : TextRegistry()) {
        text->DeleteTextObject();
    }
}

} // namespace Marrowgate::Graphics
