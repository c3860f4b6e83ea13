#pragma once
// The basic renderer's module state, shared by its source files (set-up and matrices in
// mgi_renderer.cpp, uniforms of the built-in program in mgi_renderer_uniforms.cpp, drawing in
// mgi_renderer_drawing.cpp, the gathering of 2D draws in mgi_renderer_batch.cpp). Nothing outside
// the renderer includes it.

#include "marrowgate/graphics/implementation/mgi_gl_name.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"

#include <cstdint>
#include <deque>
#include <vector>

namespace mgImplementation {

// A 2D vertex already floored and moved through the model-view on the CPU, so draws made under
// different model-view matrices can share one draw call.
struct BatchVertex
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    std::uint32_t color = 0xFFFFFFFFu;
    float u = 0.0f;
    float v = 0.0f;
};
static_assert(sizeof(BatchVertex) == 24, "BatchVertex is uploaded as tightly packed 24-byte records");

// Everything a gathered draw must share with the ones before it to join their draw call.
struct BatchKey
{
    GLenum mode = GL_TRIANGLES;
    GLuint texture = 0;
    bool isStraightAlpha = false;
    bool isFontTexture = false;

    bool operator==(const BatchKey&) const = default;
};

struct Batch
{
    BatchKey key;
    std::vector<BatchVertex> vertices;
};

// What the built-in program holds, so a uniform is uploaded only when its value changes.
struct BuiltInUniforms
{
    GLint mvpLocation = -1;
    GLint colorMatrixLocation = -1;
    GLint colorTintLocation = -1;
    GLint snapLocation = -1;
    Marrowgate::Core::Matrix4 mvp;
    bool hasMvp = false;
    int colorMode = -1; // -1 unknown, 0 ordinary, 1 font
    int snap = -1;      // -1 unknown, 0 positions arrive floored, 1 the program floors them
};

// MARROWGATE_BATCHING=0 turns gathering off; anything else, or nothing, leaves it on.
bool BatchingFromEnvironment();

struct RendererState
{
    bool isFixedFunction = false;
    bool isEmbedded = false;
    bool isReady = false;
    bool isBatching = BatchingFromEnvironment();
    GLName vertexShader;
    GLName fragmentShader;
    GLName program;
    BuiltInUniforms uniforms;
    // The program, texture and blending the renderer last set; outside code changes them through
    // the renderer so that gathered draws are flushed first.
    GLuint currentProgram = 0;
    GLuint currentTexture = 0;
    bool isStraightAlpha = false;
    bool isFontTexture = false;
    // One streaming buffer (and vertex array where the context has them) for every draw.
    GLName streamBuffer;
    GLName streamVertexArray;
    Batch batch;
    std::uint64_t drawCalls = 0;
    std::uint64_t contextGeneration = 0;
    Marrowgate::Core::Matrix4 projection;
    Marrowgate::Core::Matrix4 modelView;
    // Formed when asked for: gathered draws move through the model-view alone, so most
    // model-view changes never need it.
    Marrowgate::Core::Matrix4 modelViewProjection;
    bool isModelViewProjectionStale = false;
    // Saved model-view matrices; grows as needed.
    std::deque<Marrowgate::Core::Matrix4> matrixStack;
};

extern RendererState theRendererState;

bool IsBuiltInProgramCurrent();
// Brings the built-in program's uniforms to these values; uploads only what changed.
void PrepareBuiltInProgram(const Marrowgate::Core::Matrix4& mvp, bool snapToPixel, bool isFontTexture);
void FindBuiltInUniforms();

void CreateStreamObjects();
void DeleteStreamObjects();
// The colour word with red, green and blue multiplied by its alpha, as the fixed-function
// pipeline needs it.
std::uint32_t PremultiplyColor(std::uint32_t color);

// Draws a gathered batch with the state it was gathered under.
void DrawBatch(const Batch& batch);

// Appends a 2D draw to the batch when it can join; false when it must be drawn on its own.
bool TryBatch(Marrowgate::Graphics::PrimitiveType type, const Marrowgate::Graphics::Vertex2D* vertices,
              std::uint32_t count);
void FlushBatch();

} // namespace mgImplementation
