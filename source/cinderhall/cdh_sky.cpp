#include "cinderhall/cdh_sky.h"

#include "cinderhall/cdh_builtin_programs.h"
#include "cinderhall/cdh_gl_switch.h"
#include "marrowgate/core/mg_error.h"
#include "marrowgate/graphics/implementation/mgi_image_decoder.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"

#include <GL/glew.h>

#include <optional>

namespace {
constexpr char kUnitName[] = "cdh_sky";

namespace Renderer = Marrowgate::Graphics;
using Cinderhall::Matrix4;

// A triangle over the whole viewport, in clip space. Each corner carries the world direction
// through it, which the fragment stage normalises.
constexpr char kVertexSource[] = R"(uniform mat4 mvpMatrix;
uniform mat4 skyClipToWorld;

VERTEX_INPUT vec3 vertexPosition;

VERTEX_OUTPUT vec3 skyDirection;

void main()
{
    vec4 world = skyClipToWorld * vec4(vertexPosition.xy, 1.0, 1.0);
    skyDirection = world.xyz / world.w;
    gl_Position = mvpMatrix * vec4(vertexPosition.xy, 0.0, 1.0);
}
)";

constexpr char kFragmentSource[] = R"(#if __VERSION__ >= 130
#define SAMPLE_CUBE texture
#else
#define SAMPLE_CUBE textureCube
#endif
uniform vec4 skyZenith;
uniform vec4 skyHorizon;
uniform vec4 skyGround;
#ifdef CUBE_MAP
uniform samplerCube skyCubeMap;
#endif

FRAGMENT_INPUT vec3 skyDirection;

void main()
{
    vec3 direction = normalize(skyDirection);
#ifdef CUBE_MAP
    // OpenGL's cube faces are laid out for a left-handed world: turning x round shows each
    // image unmirrored in this right-handed one (the x faces are swapped on upload to match).
    FRAGMENT_COLOR = vec4(SAMPLE_CUBE(skyCubeMap, vec3(-direction.x, direction.y, direction.z)).rgb, 1.0);
#else
    vec3 color = direction.y >= 0.0 ? mix(skyHorizon.rgb, skyZenith.rgb, direction.y)
                                    : mix(skyHorizon.rgb, skyGround.rgb, -direction.y);
    FRAGMENT_COLOR = vec4(color, 1.0);
#endif
}
)";

// Where each face of LoadCubeMap's order goes: the x faces trade places (see the fragment stage).
constexpr GLenum kFaceTargets[6] = {GL_TEXTURE_CUBE_MAP_NEGATIVE_X, GL_TEXTURE_CUBE_MAP_POSITIVE_X,
                                    GL_TEXTURE_CUBE_MAP_POSITIVE_Y, GL_TEXTURE_CUBE_MAP_NEGATIVE_Y,
                                    GL_TEXTURE_CUBE_MAP_POSITIVE_Z, GL_TEXTURE_CUBE_MAP_NEGATIVE_Z};

} // namespace

namespace Cinderhall {

Sky::~Sky()
{
    ReleaseTexture();
}

void Sky::SetGradient(const Marrowgate::Graphics::Color& zenith, const Marrowgate::Graphics::Color& horizon,
                      const Marrowgate::Graphics::Color& ground)
{
    zenith_ = zenith;
    horizon_ = horizon;
    ground_ = ground;
    kind_ = Kind::kGradient;
    hasGradient_ = true;
    ReleaseTexture();
    for (std::vector<unsigned char>& face : faces_) {
        face.clear();
    }
}

bool Sky::LoadCubeMap(const std::array<std::string, 6>& paths)
{
    std::array<std::vector<unsigned char>, 6> faces;
    int side = 0;
    for (std::size_t index = 0; index < paths.size(); ++index) {
        const Marrowgate::Core::Error::ReportSubject subject(paths[index]);
        std::optional<mgImplementation::DecodedImage> image = mgImplementation::DecodeImageFile(paths[index]);
        if (!image) {
            return false; // the decoder has reported why, naming the file
        }
        if (image->width != image->height) {
            MG_ERROR("cdhDataError: Sky image \"%s\" is %u x %u pixels; a cube map face must be square.",
                     paths[index].c_str(), image->width, image->height);
            return false;
        }
        if (index > 0 && image->width != side) {
            MG_ERROR("cdhDataError: Sky image \"%s\" is %u pixels wide, but \"%s\" is %d: the six faces "
                     "must be the same size.",
                     paths[index].c_str(), image->width, paths[0].c_str(), side);
            return false;
        }
        side = image->width;
        faces[index] = std::move(image->pixels);
    }
    ReleaseTexture();
    faces_ = std::move(faces);
    faceSide_ = side;
    kind_ = Kind::kCubeMap;
    return true;
}

void Sky::Clear()
{
    ReleaseTexture();
    for (std::vector<unsigned char>& face : faces_) {
        face.clear();
    }
    kind_ = Kind::kNone;
    hasGradient_ = false;
}

bool Sky::PrepareTexture()
{
    if (texture_ != 0 && textureGeneration_ == Renderer::GetContextGeneration()) {
        return true;
    }
    // A texture of an earlier context went with it; its name may belong to the new one.
    texture_ = 0;
    textureGeneration_ = Renderer::GetContextGeneration();
    Renderer::ClearGLErrors();
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_CUBE_MAP, texture);
    for (std::size_t face = 0; face < faces_.size(); ++face) {
        glTexImage2D(kFaceTargets[face], 0, GL_RGBA, faceSide_, faceSide_, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     faces_[face].data());
    }
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR) {
        MG_ERROR("mgError: The OpenGL driver refuses a sky cube map of six %d x %d images (error 0x%x); the "
                 "scene draws without it.",
                 faceSide_, faceSide_, error);
        glDeleteTextures(1, &texture);
        for (std::vector<unsigned char>& face : faces_) {
            face.clear();
        }
        kind_ = hasGradient_ ? Kind::kGradient : Kind::kNone;
        return false;
    }
    texture_ = texture;
    return true;
}

void Sky::ReleaseTexture()
{
    if (texture_ != 0 && Renderer::IsRendererReady() &&
        textureGeneration_ == Renderer::GetContextGeneration()) {
        const GLuint texture = texture_;
        glDeleteTextures(1, &texture);
    }
    texture_ = 0;
}

void Sky::Render(const Matrix4& view, const Matrix4& projection)
{
    if (kind_ == Kind::kNone || !Renderer::IsRendererReady() || Renderer::IsFixedFunctionMode()) {
        return;
    }
    const bool cubeMap = kind_ == Kind::kCubeMap;
    const ShaderHandle program = theShaderManager->CreateBuiltInShader(
        cubeMap ? "built-in sky cube map" : "built-in sky gradient", cubeMap ? "#define CUBE_MAP\n" : "",
        kVertexSource, kFragmentSource);
    if (program == InvalidShader || (cubeMap && !PrepareTexture())) {
        return;
    }
    // The sky turns with the view but never moves: the view's translation is left out.
    Matrix4 turn = view;
    turn.SetPosition(0.0f, 0.0f, 0.0f);
    const Matrix4 clipToWorld = (turn * projection).ComputeInverse();
    const Matrix4 savedProjection = Renderer::GetProjectionMatrix();
    Renderer::PushMatrix();
    Renderer::SetModelViewMatrix(Matrix4());
    Renderer::SetProjectionMatrix(Matrix4());
    theShaderManager->PushShader(program);
    theShaderManager->SetShaderUniform(program, "skyClipToWorld", clipToWorld);
    if (cubeMap) {
        glBindTexture(GL_TEXTURE_CUBE_MAP, texture_);
    } else {
        theShaderManager->SetShaderUniform(program, "skyZenith", ColorAsVector(zenith_));
        theShaderManager->SetShaderUniform(program, "skyHorizon", ColorAsVector(horizon_));
        theShaderManager->SetShaderUniform(program, "skyGround", ColorAsVector(ground_));
    }
    {
        const ScopedGLSwitch noDepth(GL_DEPTH_TEST, false);
        const ScopedGLSwitch noCulling(GL_CULL_FACE, false);
        std::array<Renderer::Vertex3D, 3> corners{};
        corners[0].x = -1.0f;
        corners[0].y = -1.0f;
        corners[1].x = 3.0f;
        corners[1].y = -1.0f;
        corners[2].x = -1.0f;
        corners[2].y = 3.0f;
        Renderer::RenderVertices3D(Renderer::PrimitiveType::Triangles, corners.data(), 3);
    }
    if (cubeMap) {
        glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    }
    theShaderManager->PopShader();
    Renderer::SetProjectionMatrix(savedProjection);
    Renderer::PopMatrix();
}

} // namespace Cinderhall
