#include "marrowgate/graphics/implementation/mgi_renderer.h"

#include "marrowgate/core/mg_error.h"
#include "marrowgate/graphics/implementation/mgi_renderer_shaders.h"
#include "marrowgate/graphics/implementation/mgi_renderer_state.h"
#include "marrowgate/graphics/mg_screen.h"

#include <GL/glew.h>

#include <cstdio>
#include <vector>

namespace {
constexpr char kUnitName[] = "mgi_renderer";
} // namespace

namespace mgImplementation {
RendererState theRendererState;
} // namespace mgImplementation

namespace Marrowgate::Graphics {

using mgImplementation::GLName;
using mgImplementation::GLNameKind;
using mgImplementation::theRendererState;

namespace {

GLint CurrentProgram()
{
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    return program;
}

void UploadMatrix(GLint location, const Matrix4& matrix)
{
    // OpenGL reads matrices column by column; ours are stored row by row.
    const Matrix4 transposed = matrix.GetTransposed();
    glUniformMatrix4fv(location, 1, GL_FALSE, transposed.m);
}

// Hands the current model-view (and with it the model-view-projection) to OpenGL.
void ApplyModelView()
{
    if (!theRendererState.isReady) {
        return;
    }
    if (theRendererState.isFixedFunction) {
        glLoadTransposeMatrixf(theRendererState.modelView.m);
        return;
    }
    // Whatever program is current receives the matrices, so the 3D programs get the same uniforms.
    const GLint program = CurrentProgram();
    const GLint mvpLocation = glGetUniformLocation(static_cast<GLuint>(program), "mvpMatrix");
    if (mvpLocation == -1) {
        MG_ERROR("mgInternalError: GLSL Uniform \"mvpMatrix\" was not found in shader program.");
    } else {
        UploadMatrix(mvpLocation, theRendererState.modelViewProjection);
    }
    const GLint modelViewLocation = glGetUniformLocation(static_cast<GLuint>(program), "modelViewMatrix");
    if (modelViewLocation != -1) {
        UploadMatrix(modelViewLocation, theRendererState.modelView);
    }
}

// Composes so that `first` applies to a vertex before the current model-view.
void MultiplyModelView(const Matrix4& first)
{
    SetModelViewMatrix(first * theRendererState.modelView);
}

GLName CompileShader(GLenum stage, const char* source)
{
    GLName shader(GLNameKind::Shader, glCreateShader(stage));
    glShaderSource(shader.Get(), 1, &source, nullptr);
    glCompileShader(shader.Get());
    MG_ERROR_IF(!CheckShaderCompiled(shader.Get()),
                "mgInternalError: Shader did not compile, what does log say?");
    return shader;
}

void CreateBuiltInProgram()
{
    const bool isEmbedded = theRendererState.isEmbedded;
    theRendererState.vertexShader =
        CompileShader(GL_VERTEX_SHADER, isEmbedded ? mgImplementation::kEmbeddedVertexShader
                                                   : mgImplementation::kDesktopVertexShader);
    theRendererState.fragmentShader =
        CompileShader(GL_FRAGMENT_SHADER, isEmbedded ? mgImplementation::kEmbeddedFragmentShader
                                                     : mgImplementation::kDesktopFragmentShader);

    GLName program(GLNameKind::Program, glCreateProgram());
    glAttachShader(program.Get(), theRendererState.vertexShader.Get());
    glAttachShader(program.Get(), theRendererState.fragmentShader.Get());
    glBindAttribLocation(program.Get(), 0, "vertexPosition");
    glBindAttribLocation(program.Get(), 1, "vertexColor");
    glBindAttribLocation(program.Get(), 2, "vertexTextureUV");
    glLinkProgram(program.Get());
    MG_ERROR_IF(!CheckProgramLinked(program.Get()),
                "mgInternalError: Program did not link, what does log say?");
    glUseProgram(program.Get());
    theRendererState.program = std::move(program);
}

// Premultiplied blending, depth test that lets later equal depths win, and back faces culled
// with clockwise (on screen) front faces.
void SetCommonDrawState()
{
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
    GLint viewport[4] = {0, 0, ScreenWidth(), ScreenHeight()};
    if (theRendererState.isReady) {
        glGetIntegerv(GL_VIEWPORT, viewport);
    }
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
    if (theRendererState.isFixedFunction && !GLEW_VERSION_1_3) {
        return "OpenGL 1.3 (glActiveTexture, glLoadTransposeMatrixf)";
    }
    return {};
}

void InitializeRenderer()
{
    ClearGLErrors();
    if (theRendererState.isFixedFunction) {
        glMatrixMode(GL_MODELVIEW);
    } else {
        CreateBuiltInProgram();
    }
    theRendererState.isReady = true;
}

void CleanupRenderer()
{
    const bool wasReady = theRendererState.isReady;
    theRendererState.isReady = false;
    if (!theRendererState.isFixedFunction) {
        if (wasReady) {
            glUseProgram(0);
        }
        theRendererState.program.Delete();
        theRendererState.fragmentShader.Delete();
        theRendererState.vertexShader.Delete();
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
void SetFixedFunctionMode(bool isFixedFunction)
{
    theRendererState.isFixedFunction = isFixedFunction;
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
    SetProjectionMatrix(ViewportProjection());
    SetModelViewMatrix(Matrix4());
    if (!theRendererState.isReady) {
        return;
    }
    SetCommonDrawState();
    if (theRendererState.isFixedFunction) {
        glPushAttrib(GL_COLOR_BUFFER_BIT | GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT);
        glDisable(GL_LIGHTING);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, 0.1f);
        return;
    }
    const GLint program = CurrentProgram();
    glActiveTexture(GL_TEXTURE0);
    glUniform1i(glGetUniformLocation(static_cast<GLuint>(program), "diffuseTexture"), 0);
    SetColorMatrix(false);
}

void EndDraw()
{
    if (theRendererState.isReady && theRendererState.isFixedFunction) {
        glPopAttrib();
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
    theRendererState.modelViewProjection = matrix * theRendererState.projection;
    ApplyModelView();
}

const Matrix4& GetModelViewMatrix()
{
    return theRendererState.modelView;
}

void SetProjectionMatrix(const Matrix4& matrix)
{
    theRendererState.projection = matrix;
    if (theRendererState.isReady && theRendererState.isFixedFunction) {
        glMatrixMode(GL_PROJECTION);
        glLoadTransposeMatrixf(matrix.m);
        glMatrixMode(GL_MODELVIEW);
    }
    SetModelViewMatrix(theRendererState.modelView);
}

const Matrix4& GetProjectionMatrix()
{
    return theRendererState.projection;
}
const Matrix4& GetModelViewProjectionMatrix()
{
    return theRendererState.modelViewProjection;
}

void SetColorMatrix(bool isFontTexture)
{
    if (!theRendererState.isReady || theRendererState.isFixedFunction) {
        return;
    }
    // Uploaded as it stands: OpenGL reads these 16 values column by column.
    float colorMatrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    float tint[4] = {0, 0, 0, 0};
    if (isFontTexture) {
        if (theRendererState.isEmbedded) {
            // Alpha-only glyph texture: every channel gains the alpha.
            colorMatrix[12] = colorMatrix[13] = colorMatrix[14] = colorMatrix[15] = 1.0f;
            colorMatrix[1] = colorMatrix[6] = colorMatrix[11] = 0.0f;
        } else {
            // Red-only glyph texture: the red coverage goes to every channel.
            colorMatrix[0] = colorMatrix[1] = colorMatrix[2] = colorMatrix[3] = 1.0f;
            colorMatrix[5] = colorMatrix[10] = colorMatrix[15] = 0.0f;
        }
        tint[0] = tint[1] = tint[2] = 1.0f;
    }
    const auto program = static_cast<GLuint>(CurrentProgram());
    const GLint matrixLocation = glGetUniformLocation(program, "colorMatrix");
    const GLint tintLocation = glGetUniformLocation(program, "colorTint");
    MG_ERROR_IF(matrixLocation == -1,
                "mgInternalError: GLSL Uniform \"colorMatrix\" was not found in shader program.");
    MG_ERROR_IF(tintLocation == -1,
                "mgInternalError: GLSL Uniform \"colorTint\" was not found in shader program.");
    glUniformMatrix4fv(matrixLocation, 1, GL_FALSE, colorMatrix);
    glUniform4fv(tintLocation, 1, tint);
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
    if (status == GL_TRUE) {
        return true;
    }
    GLint logLength = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &logLength);
    std::vector<GLchar> log(static_cast<std::size_t>(logLength > 0 ? logLength : 0) + 1u, '\0');
    glGetShaderInfoLog(shader, static_cast<GLsizei>(log.size()), nullptr, log.data());
    std::printf("Shader Compiler Error: %s\n", log.data());
    return false;
}

bool CheckProgramLinked(std::uint32_t program)
{
    GLint status = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &status);
    return status == GL_TRUE;
}

} // namespace Marrowgate::Graphics
