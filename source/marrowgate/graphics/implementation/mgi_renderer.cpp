#include "marrowgate/graphics/implementation/mgi_renderer.h"

#include "marrowgate/core/mg_error.h"
#include "marrowgate/graphics/implementation/mgi_renderer_shaders.h"
#include "marrowgate/graphics/implementation/mgi_renderer_state.h"
#include "marrowgate/graphics/mg_screen.h"

#include <GL/glew.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

namespace {
constexpr char kUnitName[] = "mgi_renderer";
} // namespace

namespace mgImplementation {

bool BatchingFromEnvironment()
{
    const char* setting = std::getenv("MARROWGATE_BATCHING");
    return setting == nullptr || std::string_view(setting) != "0";
}

RendererState theRendererState;

} // namespace mgImplementation

namespace Marrowgate::Graphics {

using mgImplementation::theRendererState;

namespace {

void UploadMatrix(GLint location, const Matrix4& matrix)
{
    // OpenGL reads matrices column by column; ours are stored row by row.
    const Matrix4 transposed = matrix.GetTransposed();
    glUniformMatrix4fv(location, 1, GL_FALSE, transposed.m);
}

// Uploads `matrix` unless the program already holds it.
void UploadChangedMatrix(GLint location, const Matrix4& matrix, std::optional<Matrix4>& held)
{
    if (held && std::memcmp(held->m, matrix.m, sizeof(matrix.m)) == 0) {
        return;
    }
    UploadMatrix(location, matrix);
    held = matrix;
}

// Whatever program other than the built-in one is current receives the matrices, so the 3D
// programs get the same uniforms; its locations are looked up once.
void UploadCallerMatrices()
{
    const GLuint program = theRendererState.currentProgram;
    if (program == 0) {
        return;
    }
    auto [entry, isNew] = theRendererState.callerPrograms.try_emplace(program);
    mgImplementation::CallerProgram& caller = entry->second;
    if (isNew) {
        caller.mvpLocation = glGetUniformLocation(program, "mvpMatrix");
        caller.modelViewLocation = glGetUniformLocation(program, "modelViewMatrix");
    }
    if (caller.mvpLocation == -1) {
        MG_ERROR("mgInternalError: GLSL Uniform \"mvpMatrix\" was not found in shader program.");
    } else {
        UploadChangedMatrix(caller.mvpLocation, GetModelViewProjectionMatrix(), caller.mvp);
    }
    if (caller.modelViewLocation != -1) {
        UploadChangedMatrix(caller.modelViewLocation, theRendererState.modelView, caller.modelView);
    }
}

// Hands the current model-view (and with it the model-view-projection) to OpenGL. The built-in
// program takes its matrix when it next draws, so moving between 2D draws costs no upload.
void ApplyModelView()
{
    if (!theRendererState.isReady) {
        return;
    }
    if (theRendererState.isFixedFunction) {
        if constexpr (kFixedFunctionBuilt) {
            glLoadTransposeMatrixf(theRendererState.modelView.m);
        }
        return;
    }
    if (!mgImplementation::IsBuiltInProgramCurrent()) {
        UploadCallerMatrices();
    }
}

// Composes so that `first` applies to a vertex before the current model-view. An identity
// changes nothing (graphics without rotation or origin apply several), so it costs nothing.
void MultiplyModelView(const Matrix4& first)
{
    static const Matrix4 identity;
    if (std::memcmp(first.m, identity.m, sizeof(identity.m)) == 0) {
        return;
    }
    SetModelViewMatrix(first * theRendererState.modelView);
}

// The compiler's or linker's log of a shader or program, through the matching pair of GL queries.
std::string ReadInfoLog(GLuint object, PFNGLGETSHADERIVPROC getParameter, PFNGLGETSHADERINFOLOGPROC getLog)
{
    GLint logLength = 0;
    getParameter(object, GL_INFO_LOG_LENGTH, &logLength);
    std::vector<GLchar> log(static_cast<std::size_t>(logLength > 0 ? logLength : 0) + 1u, '\0');
    getLog(object, static_cast<GLsizei>(log.size()), nullptr, log.data());
    return log.data();
}

// Premultiplied blending, depth test that lets later equal depths win, back faces culled with
// clockwise (on screen) front faces, and texture unit 0 for the renderer's textures.
void SetCommonDrawState()
{
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CW);
}

Matrix4 ViewportProjection()
{
    const Viewport viewport = GetViewport();
    const float left = static_cast<float>(viewport[0]);
    const float top = static_cast<float>(viewport[1]);
    return Core::CreateOrthoRH(left, left + static_cast<float>(viewport[2]), top,
                               top + static_cast<float>(viewport[3]), -1.0f, 1.0f);
}

} // namespace

std::string FindMissingOpenGLSupport()
{
    // Every set-up selects texture unit 0 in BeginDraw; without shaders the matrices are loaded
    // transposed. A versioned context has both; a legacy one below 1.3 has neither.
    if constexpr (kFixedFunctionBuilt) {
        if (theRendererState.isFixedFunction && !GLEW_VERSION_1_3) {
            return "OpenGL 1.3 (glActiveTexture, glLoadTransposeMatrixf)";
        }
    }
    return {};
}

void InitializeRenderer()
{
    ClearGLErrors();
    theRendererState.batch.Clear();
    theRendererState.callerPrograms.clear();
    // A new context has texture 0 bound and its viewport set by the window layer.
    theRendererState.currentTexture = 0;
    theRendererState.isTextureKnown = true;
    theRendererState.viewport.reset();
    theRendererState.isDrawStateKnown = false;
    theRendererState.isFontTexture = false;
    if (theRendererState.isFixedFunction) {
        if constexpr (kFixedFunctionBuilt) {
            glMatrixMode(GL_MODELVIEW);
        }
    } else {
        mgImplementation::CreateBuiltInProgram();
        mgImplementation::CreateStreamObjects();
    }
    theRendererState.isReady = true;
    ++theRendererState.contextGeneration;
}

void CleanupRenderer()
{
    const bool wasReady = theRendererState.isReady;
    if (wasReady) {
        Flush();
    }
    theRendererState.isReady = false;
    theRendererState.batch.Clear();
    if (!theRendererState.isFixedFunction) {
        if (wasReady) {
            glUseProgram(0);
        }
        theRendererState.currentProgram = 0;
        theRendererState.callerPrograms.clear();
        mgImplementation::DeleteStreamObjects();
        mgImplementation::DeleteBuiltInProgram();
    }
    if (wasReady) {
        glFlush();
        glFinish();
    }
}

bool IsRendererReady()
{
    return theRendererState.isReady;
}
std::uint64_t GetContextGeneration()
{
    return theRendererState.contextGeneration;
}
void SetFixedFunctionMode(bool isFixedFunction)
{
    theRendererState.isFixedFunction = kFixedFunctionBuilt && isFixedFunction;
}
bool IsFixedFunctionMode()
{
    return theRendererState.isFixedFunction;
}
void SetEmbeddedProfile(bool isEmbedded)
{
    theRendererState.isEmbedded = isEmbedded;
}
bool IsEmbeddedProfile()
{
    return theRendererState.isEmbedded;
}

void BeginDraw()
{
    Flush();
    SetProjectionMatrix(ViewportProjection());
    SetModelViewMatrix(Matrix4());
    if (!theRendererState.isReady) {
        return;
    }
    theRendererState.vertexStream.StartFrame();
    theRendererState.indexStream.StartFrame();
    // Set once rather than every frame: in a browser each call crosses into JavaScript.
    if (!theRendererState.isDrawStateKnown) {
        SetCommonDrawState();
        theRendererState.isDrawStateKnown = true;
    }
    // Draws that bind no texture of their own join batches under the one OpenGL has bound.
    if (!theRendererState.isTextureKnown) {
        GLint texture = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
        theRendererState.currentTexture = static_cast<GLuint>(texture);
        theRendererState.isTextureKnown = true;
    }
    if (theRendererState.isFixedFunction) {
        if constexpr (kFixedFunctionBuilt) {
            glPushAttrib(GL_COLOR_BUFFER_BIT | GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT);
            glDisable(GL_LIGHTING);
            glEnable(GL_TEXTURE_2D);
            // The built-in program's threshold: a fade is visible from its first steps in every set-up.
            glEnable(GL_ALPHA_TEST);
            glAlphaFunc(GL_GEQUAL, mgImplementation::kDiscardAlpha);
        }
        return;
    }
    SetColorMatrix(false);
}

void EndDraw()
{
    Flush();
    if constexpr (kFixedFunctionBuilt) {
        if (theRendererState.isReady && theRendererState.isFixedFunction) {
            glPopAttrib();
        }
    }
}

void PushMatrix()
{
    theRendererState.matrixStack.push_back(theRendererState.modelView);
}

void PopMatrix()
{
    auto& stack = theRendererState.matrixStack;
    if (stack.empty()) {
        MG_ERROR("mgExternalError: Can't pop matrix, there is no matrix to pop.");
        return;
    }
    SetModelViewMatrix(stack.back());
    stack.pop_back();
}

void MultiplyMatrix(const Matrix4& matrix)
{
    MultiplyModelView(matrix);
}

void Translate(float x, float y, float z)
{
    MultiplyModelView(Core::MatrixCreateTranslation(x, y, z));
}

void Scale(float x, float y, float z)
{
    MultiplyModelView(Core::MatrixCreateScale(x, y, z));
}

void Rotate(float angleInDegrees, float axisX, float axisY, float axisZ)
{
    if (angleInDegrees == 0.0f) {
        return; // the common unturned graphic; the rotation would be an identity
    }
    // The angle is negated so that a positive angle turns counter-clockwise on the y-down screen.
    const float radians = -angleInDegrees * 3.1415927f / 180.0f;
    Core::Vector3 axis(axisX, axisY, axisZ);
    axis.Normalize();
    MultiplyModelView(Core::MatrixCreateRotationA(axis, radians));
}

void SetModelViewMatrix(const Matrix4& matrix)
{
    theRendererState.modelView = matrix;
    // Projection applies last.
    theRendererState.isModelViewProjectionStale = true;
    ApplyModelView();
}

const Matrix4& GetModelViewMatrix()
{
    return theRendererState.modelView;
}

void SetProjectionMatrix(const Matrix4& matrix)
{
    // Gathered draws take the projection when they are drawn.
    Flush();
    theRendererState.projection = matrix;
    if constexpr (kFixedFunctionBuilt) {
        if (theRendererState.isReady && theRendererState.isFixedFunction) {
            glMatrixMode(GL_PROJECTION);
            glLoadTransposeMatrixf(matrix.m);
            glMatrixMode(GL_MODELVIEW);
        }
    }
    SetModelViewMatrix(theRendererState.modelView);
}

const Matrix4& GetProjectionMatrix()
{
    return theRendererState.projection;
}
const Matrix4& GetModelViewProjectionMatrix()
{
    if (theRendererState.isModelViewProjectionStale) {
        theRendererState.modelViewProjection = theRendererState.modelView * theRendererState.projection;
        theRendererState.isModelViewProjectionStale = false;
    }
    return theRendererState.modelViewProjection;
}

void SetColorMatrix(bool isFontTexture)
{
    if (!theRendererState.isReady || theRendererState.isFixedFunction) {
        return;
    }
    // Uploaded with the next draw that needs it; a gathered batch keeps the one it was made with.
    theRendererState.isFontTexture = isFontTexture;
}

void UseProgramName(std::uint32_t program)
{
    if (!theRendererState.isReady || theRendererState.isFixedFunction) {
        return;
    }
    if (program != theRendererState.currentProgram) {
        Flush();
    } else if (theRendererState.isProgramKnown) {
        return; // current already, with the matrices it was last given
    }
    glUseProgram(program);
    theRendererState.currentProgram = program;
    theRendererState.isProgramKnown = true;
    // A program that last drew under other matrices must not draw with those.
    if (!mgImplementation::IsBuiltInProgramCurrent()) {
        UploadCallerMatrices();
    }
}

std::uint32_t GetCurrentProgramName()
{
    return theRendererState.currentProgram;
}

void ForgetProgramName(std::uint32_t program)
{
    theRendererState.callerPrograms.erase(program);
}

void BindTextureName(std::uint32_t texture)
{
    if (!theRendererState.isReady) {
        return;
    }
    if (texture != theRendererState.batch.key.texture) {
        Flush();
    }
    glBindTexture(GL_TEXTURE_2D, texture);
    theRendererState.currentTexture = texture;
    theRendererState.isTextureKnown = true;
}

void ForgetGLState()
{
    theRendererState.isProgramKnown = false;
    theRendererState.isTextureKnown = false;
    theRendererState.viewport.reset();
    theRendererState.isDrawStateKnown = false;
}

void SetViewport(const Viewport& viewport)
{
    if (!theRendererState.isReady) {
        return;
    }
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    theRendererState.viewport = viewport;
}

Viewport GetViewport()
{
    if (!theRendererState.isReady) {
        return {0, 0, ScreenWidth(), ScreenHeight()};
    }
    if (!theRendererState.viewport) {
        Viewport viewport{};
        glGetIntegerv(GL_VIEWPORT, viewport.data());
        theRendererState.viewport = viewport;
    }
    return *theRendererState.viewport;
}

void SetBatchingEnabled(bool isBatching)
{
    Flush();
    theRendererState.isBatching = isBatching;
}

bool IsBatchingEnabled()
{
    return theRendererState.isBatching;
}

std::uint64_t GetDrawCallCount()
{
    return theRendererState.drawCalls;
}

void ClearGLErrors()
{
    for (int read = 0; read <= 100 && glGetError() != GL_NO_ERROR; ++read) {
    }
}

bool CheckShaderCompiled(std::uint32_t shader)
{
    GLint status = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    return status == GL_TRUE;
}

bool CheckProgramLinked(std::uint32_t program)
{
    GLint status = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &status);
    return status == GL_TRUE;
}

std::string GetShaderLog(std::uint32_t shader)
{
    return ReadInfoLog(shader, glGetShaderiv, glGetShaderInfoLog);
}

std::string GetProgramLog(std::uint32_t program)
{
    return ReadInfoLog(program, glGetProgramiv, glGetProgramInfoLog);
}

} // namespace Marrowgate::Graphics
