#pragma once
/// Texture manager: owns every RGBA texture of the program. Callers hold a TextureHandle, an
/// index into one table that is valid for the whole run; they never see OpenGL names.
/// @file
/// Textures come from image files (cached by file name and reference-counted), from encoded
/// image data in memory, or as plain white rectangles. Images are decoded to 8-bit RGBA and
/// stored with premultiplied alpha, matching the renderer's blending. Every texture is rebuilt
/// by CreateGraphicsResources after a release (files are read again; data from memory and white
/// rectangles are kept for that), so handles survive a lost context. Created while no context
/// exists, a texture gets its OpenGL object at the next CreateGraphicsResources.
/// No operation releases a single texture. Also keeps the texture-memory counter of the text module.
///
/// Depends on: the basic renderer (ready state), core error reporting, stb_image. Main thread only.

#include "marrowgate/graphics/mg_graphic.h"

#include <cstdint>
#include <string>

namespace Marrowgate::Graphics {

using TextureHandle = std::uint32_t;
inline constexpr TextureHandle InvalidTexture = 0xFFFFFFFFu;

TextureHandle CreateTextureFromFile(const std::string& fileName);
// Decodes a whole image file held in memory (PNG or another format stb_image reads). The bytes
// are copied, so the caller's buffer need not outlive the call.
TextureHandle CreateTextureFromFileData(const unsigned char* fileDataInMemory, std::int32_t fileSizeInBytes);
// Opaque white.
TextureHandle CreateBlankTexture(PixelSpace textureWidth, PixelSpace textureHeight);

// The colour buffer of a render target: contents undefined until drawn into, never mipmapped,
// made again (transparent) after a lost context. Sides of 0 are reported.
TextureHandle CreateTargetTexture(PixelSpace textureWidth, PixelSpace textureHeight);
// Smooth (linear) filtering is the default; pixel art scaled up wants nearest filtering, so
// its texels stay sharp squares. Kept across a lost context.
void SetTextureSmoothing(TextureHandle texture, bool isSmooth);

// InvalidTexture binds no texture.
void BindTexture(TextureHandle texture);
// 0 for InvalidTexture.
PixelSpace GetTextureWidth(TextureHandle texture);
PixelSpace GetTextureHeight(TextureHandle texture);
// The 16 x 16 white texture that untextured drawing binds; InvalidTexture before the first
// CreateGraphicsResources.
TextureHandle GetBlankTexture();

// Called by the game application when the context has been created and before it is destroyed.
void CreateGraphicsResources();
void ReleaseGraphicsResources();

// Texture memory held outside this table (the text module's glyph textures), in bytes.
void AddTextureMemory(std::uint32_t numberOfBytes);
void RemoveTextureMemory(std::uint32_t numberOfBytes);
std::uint64_t GetTextureMemory();

// For diagnostics and tests: the OpenGL name behind a handle (0 while it has none) and how many
// times a file texture has been asked for.
std::uint32_t GetTextureGLName(TextureHandle texture);
std::uint32_t GetTextureReferenceCount(TextureHandle texture);

} // namespace Marrowgate::Graphics
