#pragma once
// The basic renderer: the one place that talks to OpenGL for 2D drawing, and the owner of the
// model-view and projection matrices for the whole program, 2D and 3D alike.
//
// It runs in one of three set-ups chosen by the window layer before `InitializeRenderer`:
// desktop shaders (GLSL 1.50), embedded shaders (GLSL ES 1.00, `SetEmbeddedProfile(true)`) or the
// fixed-function pipeline of a legacy context (`SetFixedFunctionMode(true)`).
//
// 2D draws are gathered: consecutive draws with the same texture, blending, colour matrix and a
// primitive kind that joins (triangles, strips and fans as triangles, line lists) are moved
// through the model-view on the CPU and drawn with one call when any of those changes, at
// `EndDraw`, or when `Flush` is called. Submission order is kept, so the pixels are those of
// drawing each call on its own. Code that uses OpenGL directly in a 2D pass must call `Flush`
// first, or change program and texture through `UseProgramName` and `BindTextureName`, which
// flush when needed. `SetBatchingEnabled(false)` (or
// MARROWGATE_BATCHING=0 in the environment) draws every call on its own.
//
// Matrices follow the math library's layout (row by row for column vectors, translation in
// elements 3, 7, 11); they are transposed on their way to OpenGL. The model-view stack is kept
// here in every set-up, so `GetModelViewMatrix` always answers and the stack has no depth limit.
// Before `InitializeRenderer` (or after `CleanupRenderer`) the matrix operations still track
// their matrices but no call reaches OpenGL and drawing does nothing, so code that renders can
// run without a context.
//
// Depends on: core error reporting, math. Main thread only.

#include "marrowgate/math/mg_matrix.h"
#include "marrowgate/math/mg_vector.h"

#include <array>
#include <cstdint>
#include <string>

namespace Marrowgate::Graphics {

using Core::Matrix4;
using Core::Vector2;

enum class PrimitiveType : std::uint32_t
{
    Triangles = 0,
    TriangleStrip = 1,
    TriangleFan = 2,
    Lines = 3,
    LineStrip = 4,
    LineLoop = 5,
};

// The colour word holds red in its lowest byte and alpha in its highest, so its bytes in memory
// read R, G, B, A (see Color::GetColorABGR).
struct Vertex2D
{
    float x = 0.0f;
    float y = 0.0f;
    std::uint32_t color = 0xFFFFFFFFu;
    float u = 0.0f;
    float v = 0.0f;
};
static_assert(sizeof(Vertex2D) == 20, "Vertex2D is uploaded as tightly packed 20-byte records");

struct Vertex3D
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float normalX = 0.0f;
    float normalY = 0.0f;
    float normalZ = 0.0f;
    std::uint32_t color = 0xFFFFFFFFu;
    float u = 0.0f;
    float v = 0.0f;
};
static_assert(sizeof(Vertex3D) == 36, "Vertex3D is uploaded as tightly packed 36-byte records");

// Lifecycle, driven by the window layer.
// What the chosen set-up needs from the current context and does not find there, named for the
// user ("OpenGL 1.3 (...)"); empty when InitializeRenderer may run. Call after the set-up flags
// are set and the entry points are loaded.
std::string FindMissingOpenGLSupport();
void InitializeRenderer();
void CleanupRenderer();
bool IsRendererReady();
// Counts InitializeRenderer calls: OpenGL names made under another generation belong to a
// context that is gone.
std::uint64_t GetContextGeneration();

// A browser has no legacy context, so the web build leaves the fixed-function set-up and its
// OpenGL 1.x calls out; code that makes such calls puts them under `if constexpr` on this.
#ifdef __EMSCRIPTEN__
inline constexpr bool kFixedFunctionBuilt = false;
#else
inline constexpr bool kFixedFunctionBuilt = true;
#endif

// Whether an OpenGL entry point may be called: the desktop's are GLEW's pointers, null where the
// context lacks the function; the web's are plain functions, always there.
template <typename Function> bool HasEntryPoint(Function* function)
{
    return function != nullptr;
}

// Set-up flags; set before InitializeRenderer and not changed afterwards.
void SetFixedFunctionMode(bool isFixedFunction);
bool IsFixedFunctionMode();
void SetEmbeddedProfile(bool isEmbedded);
bool IsEmbeddedProfile();

// The 2D pass of a frame: an orthographic projection over the viewport with (0, 0) at the
// top-left and y growing downwards in pixels, identity model-view, depth test, premultiplied
// blending and back-face culling (front faces are clockwise on screen).
void BeginDraw();
void EndDraw();

// Model-view stack. Each operation composes so that its own transform applies to a vertex
// before the current model-view does.
void PushMatrix();
void PopMatrix();
void MultiplyMatrix(const Matrix4& matrix);
void Translate(float x, float y, float z);
// A positive angle about (0, 0, 1) turns geometry counter-clockwise on the y-down screen.
void Rotate(float angleInDegrees, float axisX, float axisY, float axisZ);
void Scale(float x, float y, float z);
void SetModelViewMatrix(const Matrix4& matrix);
const Matrix4& GetModelViewMatrix();
void SetProjectionMatrix(const Matrix4& matrix);
const Matrix4& GetProjectionMatrix();
// The model-view-projection matrix that the next draw uses (projection applied last).
const Matrix4& GetModelViewProjectionMatrix();

// Colour transform of the built-in program: identity for ordinary RGBA textures; for a
// single-channel glyph texture it puts the coverage in every channel (premultiplied white), so a
// glyph pixel is the vertex colour scaled by its coverage under the usual premultiplied blending.
// Does nothing in fixed-function mode, where glyph textures are intensity textures to the same
// effect.
void SetColorMatrix(bool isFontTexture);

// Draws what has been gathered so far; needed before OpenGL is used outside the renderer.
void Flush();
void SetBatchingEnabled(bool isBatching);
bool IsBatchingEnabled();
// Draw calls the renderer has issued since it started, for tests and measurements.
std::uint64_t GetDrawCallCount();

// The renderer keeps the viewport, the program and the 2D texture it set last instead of asking
// OpenGL each frame (a query is slow, and allocates, in a browser), sets the depth test,
// blending, culling and the active texture unit once rather than at every BeginDraw, and binds
// its own vertex array only for the length of its own draws. Everything in the kits changes that
// state through the renderer, or puts it back as it found it. Code that changes any of it with
// OpenGL directly calls Flush before and ForgetGLState after; the renderer then reads or sets it
// anew when it next needs it. A new context (InitializeRenderer) starts with nothing remembered.
void ForgetGLState();
// As glViewport takes it: the bottom-left corner's x and y, the width and the height, in pixels.
using Viewport = std::array<int, 4>;
void SetViewport(const Viewport& viewport);
// Before InitializeRenderer, the whole screen.
Viewport GetViewport();

// Program and texture changes made through the renderer, which flushes gathered draws first.
// Arguments are OpenGL names; 0 unbinds. A program other than the built-in one receives the
// current matrices when it becomes current and whenever they change while it is current:
// `mvpMatrix` (a report when it has none) and, where it has one, `modelViewMatrix`. Their
// locations are looked up once per program and context.
void UseProgramName(std::uint32_t program);
// The program the renderer last made current (0 before any).
std::uint32_t GetCurrentProgramName();
// Drops what the renderer keeps about a program; call it before deleting a program that was made
// current through UseProgramName, whose name OpenGL may give to the next one.
void ForgetProgramName(std::uint32_t program);
void BindTextureName(std::uint32_t texture);

void RenderVertices2D(PrimitiveType type, const Vertex2D* vertices, std::uint32_t count);
void RenderVertices3D(PrimitiveType type, const Vertex3D* vertices, std::uint32_t count);
// Draws `count` tightly packed Vertex3D records that the caller keeps in the OpenGL array buffer
// `buffer`, with the current program and matrices. Shader set-ups only.
void RenderVertexBuffer3D(PrimitiveType type, std::uint32_t buffer, std::uint32_t count);
// Makes a vertex array object whose attributes read tightly packed Vertex3D records from the
// caller's array buffer `buffer`, so that drawing that buffer frame after frame points nothing
// anew. Returns 0 where the context has no vertex array objects (RenderVertexBuffer3D draws
// there). The caller deletes it with glDeleteVertexArrays, with the buffer or before it.
std::uint32_t CreateVertexArray3D(std::uint32_t buffer);
// As RenderVertexBuffer3D, through a vertex array made by CreateVertexArray3D.
void RenderVertexArray3D(PrimitiveType type, std::uint32_t vertexArray, std::uint32_t count);
// A textured rectangle of one colour word, drawn as a triangle strip.
void RenderQuad(const Vector2& topLeft, const Vector2& bottomRight, std::uint32_t color, float uLeft,
                float vTop, float uRight, float vBottom);
// A white textured rectangle that replaces the pixels beneath it, without blending or the depth
// test: for pictures known to be opaque, at a fraction of a blended draw's cost per pixel.
void RenderOpaqueQuad(const Vector2& topLeft, const Vector2& bottomRight, float uLeft, float vTop,
                      float uRight, float vBottom);

// Drains OpenGL's error flags (at most 101 reads), so later checks see only their own errors.
void ClearGLErrors();
// Arguments are OpenGL shader and program names.
bool CheckShaderCompiled(std::uint32_t shader);
bool CheckProgramLinked(std::uint32_t program);
// The compiler's log of a shader and the linker's of a program, for reports; empty when none.
std::string GetShaderLog(std::uint32_t shader);
std::string GetProgramLog(std::uint32_t program);

} // namespace Marrowgate::Graphics
