#include "marrowgate/graphics/mg_texture_manager.h"

#include "marrowgate/core/mg_error.h"
#include "marrowgate/graphics/implementation/mgi_gl_name.h"
#include "marrowgate/graphics/implementation/mgi_image_decoder.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"

#include <GL/glew.h>

#include <unordered_map>
#include <vector>

namespace {
constexpr char kUnitName[] = "mg_texture_manager";
constexpr Marrowgate::Graphics::PixelSpace kBlankTextureSize = 16;
} // namespace

namespace Marrowgate::Graphics {

using mgImplementation::DecodedImage;
using mgImplementation::GLName;
using mgImplementation::GLNameKind;

namespace {

// Where a texture's pixels come from, so that it can be rebuilt after the context is lost.
enum class TextureSource
{
    File,
    Memory,
    Blank,
    // A render target's colour buffer: no pixels to keep, transparent when made again.
    Target
};

struct TextureData
{
    TextureSource source = TextureSource::Blank;
    std::string fileName;                   // for File
    std::vector<unsigned char> encodedData; // for Memory: the encoded file, not the pixels
    GLName glName;                          // empty while the texture has no OpenGL object
    PixelSpace width = 0;
    PixelSpace height = 0;
    std::uint32_t referenceCount = 1;
    bool isSmooth = true;
};

struct TextureManagerState
{
    std::vector<TextureData> textures;
    std::unordered_map<std::string, TextureHandle> nameCache;
    TextureHandle blankTexture = InvalidTexture;
    std::uint64_t textureMemory = 0;
};

TextureManagerState theTextureManager;

DecodedImage MakeWhiteImage(PixelSpace width, PixelSpace height)
{
    DecodedImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width) * height * 4u, 255u);
    return image;
}

// Linear filtering (through mipmaps where the texture has them) or, for pixel art, nearest.
void ApplyFiltering(const TextureData& record, bool hasMipmaps)
{
    const GLint magnify = record.isSmooth ? GL_LINEAR : GL_NEAREST;
    const GLint minify = !record.isSmooth ? GL_NEAREST : hasMipmaps ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minify);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magnify);
}

// Without a context there is nothing to create yet; CreateGraphicsResources builds it later.
// Null pixels leave the texture's contents undefined (a render target's first pass clears them).
void GenerateTextureFromOpenGL(const unsigned char* pixels, TextureData& record)
{
    if (!IsRendererReady()) {
        return;
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    MG_ERROR_IF(name == 0, "mgInternalError: Failed assumption that no gl texture names can be 0.");
    record.glName = GLName(GLNameKind::Texture, name);
    BindTextureName(name);
    // ES 2.0 wants the internal format to repeat the pixel format; desktop GL takes the sized one.
    GLint internalFormat = IsEmbeddedProfile() ? GL_RGBA : GL_RGBA8;
    GLenum format = GL_RGBA;
    if (record.source == TextureSource::Target && !IsEmbeddedProfile()) {
        // A target's pixels never come from memory, and are often copied to the window: asked as
        // unsized RGBA in the window's own byte order, drivers store them in that order, and the
        // copy needs no conversion.
        internalFormat = GL_RGBA;
        format = GL_BGRA;
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, record.width, record.height, 0, format, GL_UNSIGNED_BYTE,
                 pixels);
    // A render target changes every pass, so mipmaps made now would go stale.
    const bool hasMipmaps = HasEntryPoint(glGenerateMipmap) && record.source != TextureSource::Target;
    if (hasMipmaps) {
        glGenerateMipmap(GL_TEXTURE_2D);
    }
    ApplyFiltering(record, hasMipmaps);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    if (!IsEmbeddedProfile()) {
        const GLfloat magenta[4] = {1.0f, 0.0f, 1.0f, 1.0f};
        glTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, magenta);
    }
    // The texture is left bound.
}

// Records are never removed, so a handle names the same texture for the whole run.
TextureHandle AddTexture(const DecodedImage& image, TextureData record)
{
    record.width = image.width;
    record.height = image.height;
    MG_ERROR_IF(image.pixels.empty() && record.source != TextureSource::Target,
                "mgInternalError: Invalid imageData passed to GenerateTextureFromOpenGL()");
    GenerateTextureFromOpenGL(image.pixels.empty() ? nullptr : image.pixels.data(), record);
    auto& state = theTextureManager;
    state.textures.push_back(std::move(record));
    const auto handle = static_cast<TextureHandle>(state.textures.size() - 1);
    const TextureData& added = state.textures.back();
    if (added.source == TextureSource::File) {
        MG_ERROR_IF(state.nameCache.contains(added.fileName),
                    "mgInternalError: Loading texture already in cache!");
        state.nameCache[added.fileName] = handle;
    }
    return handle;
}

bool IsKnownHandle(TextureHandle texture)
{
    if (texture >= theTextureManager.textures.size()) {
        MG_ERROR("mgError: Attempting to get a texture that does not exist! Invalid Handle.");
        return false;
    }
    return true;
}

void DeleteGLTexture(TextureData& record)
{
    if (IsRendererReady()) {
        Flush(); // gathered draws may still sample it
        record.glName.Delete();
    } else {
        // The context is gone, and its textures with it.
        record.glName.Abandon();
    }
}

std::optional<DecodedImage> DecodeSource(const TextureData& record)
{
    switch (record.source) {
    case TextureSource::File:
        MG_ERROR_IF(record.fileName.empty(),
                    "mgInternalError: texture data filename is empty OnReloadTexture().");
        return mgImplementation::DecodeImageFile(record.fileName);
    case TextureSource::Memory:
        return mgImplementation::DecodeImageData(record.encodedData);
    case TextureSource::Blank:
        return MakeWhiteImage(record.width, record.height);
    case TextureSource::Target:
        return DecodedImage{{}, record.width, record.height};
    }
    return std::nullopt;
}

void RebuildTexture(TextureData& record)
{
    DeleteGLTexture(record);
    const std::optional<DecodedImage> image = DecodeSource(record);
    if (!image) {
        return;
    }
    record.width = image->width;
    record.height = image->height;
    GenerateTextureFromOpenGL(image->pixels.empty() ? nullptr : image->pixels.data(), record);
}

} // namespace

TextureHandle CreateTextureFromFile(const std::string& fileName)
{
    auto& state = theTextureManager;
    if (const auto cached = state.nameCache.find(fileName); cached != state.nameCache.end()) {
        if (IsKnownHandle(cached->second)) {
            ++state.textures[cached->second].referenceCount;
        }
        return cached->second;
    }
    const std::optional<DecodedImage> image = mgImplementation::DecodeImageFile(fileName);
    if (!image) {
        return InvalidTexture;
    }
    TextureData record;
    record.source = TextureSource::File;
    record.fileName = fileName;
    return AddTexture(*image, std::move(record));
}

TextureHandle CreateTextureFromFileData(const unsigned char* fileDataInMemory, std::int32_t fileSizeInBytes)
{
    if (fileDataInMemory == nullptr) {
        MG_ERROR("mgExternalError: The fileDataInMemory parameter is expected to be a valid pointer.");
        return InvalidTexture;
    }
    if (fileSizeInBytes < 0) {
        MG_ERROR("mgError: TextureData fileSizeInBytes too large for following cast into int, corrupt size?");
        return InvalidTexture;
    }
    const std::span<const unsigned char> fileData(fileDataInMemory,
                                                  static_cast<std::size_t>(fileSizeInBytes));
    const std::optional<DecodedImage> image = mgImplementation::DecodeImageData(fileData);
    if (!image) {
        return InvalidTexture;
    }
    TextureData record;
    record.source = TextureSource::Memory;
    record.encodedData.assign(fileData.begin(), fileData.end());
    return AddTexture(*image, std::move(record));
}

TextureHandle CreateBlankTexture(PixelSpace textureWidth, PixelSpace textureHeight)
{
    MG_ERROR_IF(textureWidth == 0, "mgExternalError: The textureWidth must be greater than 0.");
    MG_ERROR_IF(textureHeight == 0, "mgExternalError: The textureHeight must be greater than 0.");
    if (textureWidth == 0 || textureHeight == 0) {
        return InvalidTexture;
    }
    TextureData record;
    record.source = TextureSource::Blank;
    return AddTexture(MakeWhiteImage(textureWidth, textureHeight), std::move(record));
}

TextureHandle CreateTargetTexture(PixelSpace textureWidth, PixelSpace textureHeight)
{
    if (textureWidth == 0 || textureHeight == 0) {
        MG_ERROR("mgExternalError: A render target needs a width and a height above 0, not %u x %u.",
                 unsigned{textureWidth}, unsigned{textureHeight});
        return InvalidTexture;
    }
    TextureData record;
    record.source = TextureSource::Target;
    return AddTexture(DecodedImage{{}, textureWidth, textureHeight}, std::move(record));
}

void SetTextureSmoothing(TextureHandle texture, bool isSmooth)
{
    if (texture == InvalidTexture || !IsKnownHandle(texture)) {
        return;
    }
    TextureData& record = theTextureManager.textures[texture];
    record.isSmooth = isSmooth;
    if (record.glName) {
        BindTextureName(record.glName.Get());
        GLint minify = GL_LINEAR;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minify);
        ApplyFiltering(record, minify == GL_LINEAR_MIPMAP_LINEAR || minify == GL_NEAREST_MIPMAP_NEAREST);
    }
}

void BindTexture(TextureHandle texture)
{
    auto& state = theTextureManager;
    GLuint name = 0;
    if (texture != InvalidTexture) {
        if (!IsKnownHandle(texture)) {
            return;
        }
        name = state.textures[texture].glName.Get();
    }
    BindTextureName(name);
}

PixelSpace GetTextureWidth(TextureHandle texture)
{
    if (texture == InvalidTexture || !IsKnownHandle(texture)) {
        return 0;
    }
    return theTextureManager.textures[texture].width;
}

PixelSpace GetTextureHeight(TextureHandle texture)
{
    if (texture == InvalidTexture || !IsKnownHandle(texture)) {
        return 0;
    }
    return theTextureManager.textures[texture].height;
}

TextureHandle GetBlankTexture()
{
    return theTextureManager.blankTexture;
}

void CreateGraphicsResources()
{
    auto& state = theTextureManager;
    for (TextureData& record : state.textures) {
        RebuildTexture(record);
    }
    if (state.blankTexture == InvalidTexture) {
        state.blankTexture = CreateBlankTexture(kBlankTextureSize, kBlankTextureSize);
    }
    // Rebuilding leaves the last texture of the table bound; a new context starts, like the
    // first, with the blank one, which untextured fixed-function drawing (meshes, lines) samples.
    BindTexture(state.blankTexture);
}

void ReleaseGraphicsResources()
{
    for (TextureData& record : theTextureManager.textures) {
        DeleteGLTexture(record);
    }
}

void AddTextureMemory(std::uint32_t numberOfBytes)
{
    theTextureManager.textureMemory += numberOfBytes;
}

void RemoveTextureMemory(std::uint32_t numberOfBytes)
{
    auto& state = theTextureManager;
    if (numberOfBytes > state.textureMemory) {
        MG_ERROR("mgInteralError: Expected numberOfBytes to be <= currently used memory.");
        // The counter must not wrap around to an enormous figure.
        state.textureMemory = 0;
        return;
    }
    state.textureMemory -= numberOfBytes;
}

std::uint64_t GetTextureMemory()
{
    return theTextureManager.textureMemory;
}

std::uint32_t GetTextureGLName(TextureHandle texture)
{
    if (texture == InvalidTexture || !IsKnownHandle(texture)) {
        return 0;
    }
    return theTextureManager.textures[texture].glName.Get();
}

std::uint32_t GetTextureReferenceCount(TextureHandle texture)
{
    if (texture == InvalidTexture || !IsKnownHandle(texture)) {
        return 0;
    }
    return theTextureManager.textures[texture].referenceCount;
}

} // namespace Marrowgate::Graphics
