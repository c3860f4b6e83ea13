#pragma once
// The basic renderer's module state, shared by its source files (set-up and matrices in
// mgi_renderer.cpp, the built-in program in mgi_renderer_program.cpp, drawing in
// mgi_renderer_drawing.cpp, the gathering of 2D draws in mgi_renderer_batch.cpp). Nothing outside
// the renderer includes it.

#include "marrowgate/graphics/implementation/mgi_gl_name.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/implementation/mgi_stream_buffer.h"
#include "marrowgate/graphics/implementation/mgi_vertex_arrays.h"

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <unordered_map>
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
    bool isFontTexture = false;

    bool operator==(const BatchKey&) const = default;
};

// Gathered draws as shared vertices and the triangles or lines over them, so a quad costs four
// vertices rather than six.
struct Batch
{
    BatchKey key;
    std::vector<BatchVertex> vertices;
    std::vector<std::uint16_t> indices;

    void Clear()
    {
        vertices.clear();
        indices.clear();
    }
};

// One variant of the built-in program and what it holds, so a uniform is uploaded only when its
// value changes.
struct BuiltInProgram
{
    GLName program;
    GLint mvpLocation = -1;
    GLint snapLocation = -1;
    Marrowgate::Core::Matrix4 mvp;
    bool hasMvp = false;
    int snap = -1; // -1 unknown, 0 positions arrive floored, 1 the program floors them
};

// What the renderer keeps about a program other than its own that it made current: where its
// matrices go and what they last received, so a model-view change under it looks nothing up and
// making it current again uploads only what changed.
struct CallerProgram
{
    GLint mvpLocation = -1;
    GLint modelViewLocation = -1;
    std::optional<Marrowgate::Core::Matrix4> mvp;
    std::optional<Marrowgate::Core::Matrix4> modelView;
};

// MARROWGATE_BATCHING=0 turns gathering off; anything else, or nothing, leaves it on.
bool BatchingFromEnvironment();

struct RendererState
{
    bool isFixedFunction = false;
    bool isEmbedded = false;
    bool isReady = false;
    bool isBatching = BatchingFromEnvironment();
    // The built-in program in two variants that draw the same pixels: [0] for ordinary textures,
    // [1] with the colour transform that glyph textures need. Either counts as the built-in one.
    std::array<BuiltInProgram, 2> builtIn;
    // The program, texture and colour mode the renderer last set; outside code changes them
    // through the renderer so that gathered draws are flushed first.
    GLuint currentProgram = 0;
    GLuint currentTexture = 0;
    // Whether OpenGL has those two bound: false after ForgetGLState until the renderer binds
    // or reads them again.
    bool isProgramKnown = false;
    bool isTextureKnown = false;
    // Whether depth test, blending, culling and the active texture unit are as BeginDraw sets
    // them: false for a new context and after ForgetGLState, so BeginDraw sets them once.
    bool isDrawStateKnown = false;
    // The viewport set or read last; empty until then.
    std::optional<Marrowgate::Graphics::Viewport> viewport;
    // Programs of this context other than the built-in one, by name.
    std::unordered_map<GLuint, CallerProgram> callerPrograms;
    bool isFontTexture = false;
    // Streaming buffers for vertices and indices, and the vertex arrays (where the context has
    // them) that draws reach their vertices through.
    StreamBuffer vertexStream{GL_ARRAY_BUFFER};
    StreamBuffer indexStream{GL_ELEMENT_ARRAY_BUFFER};
    VertexArrays vertexArrays;
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

// Compiles and links both variants of the built-in program and makes the ordinary one current.
void CreateBuiltInProgram();
void DeleteBuiltInProgram();
bool IsBuiltInProgramCurrent();
// Makes the variant for this colour mode current and brings its uniforms to these values;
// uploads only what changed.
void PrepareBuiltInProgram(const Marrowgate::Core::Matrix4& mvp, bool snapToPixel, bool isFontTexture);

void CreateStreamObjects();
void DeleteStreamObjects();
// The colour word with red, green and blue multiplied by its alpha, as the fixed-function
// pipeline needs it.
std::uint32_t PremultiplyColor(std::uint32_t color);

// Draws a gathered batch with the state it was gathered under; its indices may change on the way.
void DrawBatch(Batch& batch);

// Appends a 2D draw to the batch when it can join; false when it must be drawn on its own.
bool TryBatch(Marrowgate::Graphics::PrimitiveType type, const Marrowgate::Graphics::Vertex2D* vertices,
              std::uint32_t count);
void FlushBatch();

} // namespace mgImplementation
