#include "cinderhall/cdh_visualization.h"

#include "cinderhall/cdh_builtin_programs.h"

#include "marrowgate/core/mg_error.h"

#include <array>
#include <string>

namespace {
constexpr char kUnitName[] = "cdh_visualization";

namespace Renderer = Marrowgate::Graphics;
using Cinderhall::Vector3;
using Marrowgate::Graphics::Vertex3D;

Cinderhall::ShaderHandle theVisualizationShader = Cinderhall::InvalidShader;

// Normalised unless too short to have a direction, in which case it is kept as given.
Vector3 DirectionTowards(const Vector3& from, const Vector3& to)
{
    const Vector3 difference = to - from;
    const float length = difference.Magnitude();
    return length > Marrowgate::Core::Epsilon ? difference / length : difference;
}

Vertex3D LineVertex(const Vector3& position, std::uint32_t vertexColor)
{
    Vertex3D vertex;
    vertex.x = position.x;
    vertex.y = position.y;
    vertex.z = position.z;
    vertex.color = vertexColor;
    return vertex;
}

void AppendVertices(Cinderhall::RetainedVertices& list, std::initializer_list<Vector3> positions,
                    std::uint32_t color)
{
    const std::uint32_t vertexColor = Renderer::Color(color).GetColorABGR();
    for (const Vector3& position : positions) {
        list.Add(LineVertex(position, vertexColor));
    }
}

// Binds the visualization shader (and uploads the current matrices to it); false when nothing
// can be drawn. Fixed-function mode draws without any program.
bool BeginVisualizationDraw()
{
    if (Renderer::IsFixedFunctionMode()) {
        return true;
    }
    if (theVisualizationShader == Cinderhall::InvalidShader) {
        // Drawing 3D vertices with the 2D program would only produce garbage.
        MG_ERROR("Expected visualization shader handle to have been set before Render call.");
        return false;
    }
    Cinderhall::theShaderManager->PushShader(theVisualizationShader);
    return true;
}

void EndVisualizationDraw()
{
    if (!Renderer::IsFixedFunctionMode()) {
        Cinderhall::theShaderManager->PopShader();
    }
}

} // namespace

namespace Cinderhall {

cdhCamera::cdhCamera(const Vector3& position, const Vector3& target, const Vector3& up)
    : position_(position), forward_(DirectionTowards(position, target)), up_(up)
{}

void cdhCamera::SetTarget(const Vector3& target)
{
    forward_ = DirectionTowards(position_, target);
}

Matrix4 cdhCamera::ComputeView() const
{
    const Vector3 forward = forward_.GetNormalized();
    const Vector3 side = Marrowgate::Core::CrossProduct(forward, up_).GetNormalized();
    const Vector3 up = Marrowgate::Core::CrossProduct(side, forward);
    const Matrix4 rotation(side.x, side.y, side.z, 0.0f, up.x, up.y, up.z, 0.0f, -forward.x, -forward.y,
                           -forward.z, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    // Moving the eye to the origin comes first, then the turn.
    return Marrowgate::Core::MatrixCreateTranslation(-position_.x, -position_.y, -position_.z) * rotation;
}

const Matrix4& cdhCamera::ApplyCamera()
{
    view_ = ComputeView();
    Renderer::SetModelViewMatrix(view_);
    if (Renderer::IsRendererReady()) {
        Renderer::ClearGLErrors();
    }
    return view_;
}

namespace {

// A world point (w 1) or direction (w 0) in the view's space.
Vector3 TurnByView(const Matrix4& view, const Vector3& value, float w)
{
    Vector3 turned;
    for (int row = 0; row < 3; ++row) {
        turned[row] = view.m[row * 4 + 0] * value.x + view.m[row * 4 + 1] * value.y +
                      view.m[row * 4 + 2] * value.z + view.m[row * 4 + 3] * w;
    }
    return turned;
}

// The point lights' uniform names, made once: lighting is applied several times a frame.
struct PointLightUniformNames
{
    static constexpr int kCount = SceneLighting::kMaximumPointLights;
    std::array<std::string, kCount> position;
    std::array<std::string, kCount> color;

    static const PointLightUniformNames& Get()
    {
        static const PointLightUniformNames names = [] {
            PointLightUniformNames made;
            for (int index = 0; index < kCount; ++index) {
                // Appended, not "[" + ... + "]": GCC 12 at -O3 takes that for an overlapping copy.
                std::string element = "[";
                element += std::to_string(index);
                element += ']';
                made.position[index] = "pointLightPosition" + element;
                made.color[index] = "pointLightColor" + element;
            }
            return made;
        }();
        return names;
    }
};

} // namespace

void SceneLighting::ApplyLighting() const
{
    // The direction is a world one; the current model-view (the camera's view) turns it into
    // eye space, where shaders compare it with normals turned by their modelViewMatrix. A
    // direction turns without the view's translation, and is normalised after, so a view that
    // scales does not dim the sun.
    const Matrix4& view = Renderer::GetModelViewMatrix();
    Vector3 eye = TurnByView(view, sunDirection, 0.0f);
    const float length = eye.Magnitude();
    if (length > Marrowgate::Core::Epsilon) {
        eye = eye / length;
    }
    std::vector<std::pair<std::string, Vector4>> uniforms;
    uniforms.reserve(6u + 2u * kMaximumPointLights);
    uniforms.push_back({"sunLightDirection", {eye.x, eye.y, eye.z, 0.0f}});
    uniforms.push_back({"sunLightColor", ColorAsVector(sunColor)});
    uniforms.push_back({"ambientLightColor", ColorAsVector(ambientColor)});
    uniforms.push_back({"materialColor", {1.0f, 1.0f, 1.0f, 1.0f}});
    const PointLightUniformNames& names = PointLightUniformNames::Get();
    for (int index = 0; index < kMaximumPointLights; ++index) {
        const PointLight& light = pointLights[index];
        const Vector3 position = TurnByView(view, light.position, 1.0f);
        uniforms.push_back({names.position[index], {position.x, position.y, position.z, light.range}});
        uniforms.push_back({names.color[index], ColorAsVector(light.color)});
    }
    uniforms.push_back({"fogParameters", {static_cast<float>(fog.mode), fog.start, fog.end, fog.density}});
    uniforms.push_back({"fogColor", ColorAsVector(fog.color)});
    ShaderManager& shaders = *theShaderManager;
    const ShaderHandle program = shaders.GetBoundShader();
    for (const auto& [name, value] : uniforms) {
        shaders.SetShaderUniform(program, name, value.x, value.y, value.z, value.w);
    }
    RememberLighting(std::move(uniforms));
}

void Visualization::AddLine(const Vector3& start, const Vector3& end, std::uint32_t color)
{
    AppendVertices(transientLines_, {start, end}, color);
}

void Visualization::AddTriangle(const Vector3& first, const Vector3& second, const Vector3& third,
                                std::uint32_t color)
{
    AppendVertices(transientTriangles_, {first, second, third}, color);
}

void Visualization::AddPersistentLine(const Vector3& start, const Vector3& end, std::uint32_t color)
{
    AppendVertices(persistentLines_, {start, end}, color);
}

void Visualization::AddPersistentTriangle(const Vector3& first, const Vector3& second, const Vector3& third,
                                          std::uint32_t color)
{
    AppendVertices(persistentTriangles_, {first, second, third}, color);
}

void Visualization::Clear(bool all)
{
    transientLines_.Clear();
    transientTriangles_.Clear();
    if (all) {
        persistentLines_.Clear();
        persistentTriangles_.Clear();
    }
}

void Visualization::Render()
{
    if (!enabled_ || !BeginVisualizationDraw()) {
        return;
    }
    transientLines_.Draw(Renderer::PrimitiveType::Lines);
    transientTriangles_.Draw(Renderer::PrimitiveType::Triangles);
    persistentLines_.Draw(Renderer::PrimitiveType::Lines);
    persistentTriangles_.Draw(Renderer::PrimitiveType::Triangles);
    EndVisualizationDraw();
}

void SetVisualizationShader(ShaderHandle handle)
{
    theVisualizationShader = handle;
}

ShaderHandle GetVisualizationShader()
{
    return theVisualizationShader;
}

void RenderAxes(float length, bool includeNegative)
{
    struct Axis
    {
        Vector3 end;
        std::uint32_t color;
    };
    const std::array<Axis, 6> axes = {{{{length, 0.0f, 0.0f}, 0xFFFF0000u},
                                       {{0.0f, length, 0.0f}, 0xFF00FF00u},
                                       {{0.0f, 0.0f, length}, 0xFF0000FFu},
                                       {{-length, 0.0f, 0.0f}, 0xFF880000u},
                                       {{0.0f, -length, 0.0f}, 0xFF008800u},
                                       {{0.0f, 0.0f, -length}, 0xFF000088u}}};
    std::vector<Vertex3D> vertices;
    vertices.reserve(12);
    const std::size_t axisCount = includeNegative ? 6 : 3;
    for (std::size_t i = 0; i < axisCount; ++i) {
        const std::uint32_t color = Renderer::Color(axes[i].color).GetColorABGR();
        vertices.push_back(LineVertex(Vector3(), color));
        vertices.push_back(LineVertex(axes[i].end, color));
    }
    if (!BeginVisualizationDraw()) {
        return;
    }
    Renderer::RenderVertices3D(Renderer::PrimitiveType::Lines, vertices.data(),
                               static_cast<std::uint32_t>(vertices.size()));
    EndVisualizationDraw();
}

} // namespace Cinderhall
