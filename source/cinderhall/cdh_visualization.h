#pragma once
/// The pieces a perspective pass puts around its mesh drawing:
///  - cdhCamera: a look-at camera that sets the renderer's model-view matrix (right-handed,
///    looking down its forward direction);
///  - SceneLighting: a sun, whose direction is given in world space (pointing towards the sun),
///    and an ambient light, uploaded as four vec4 uniforms ("sunLightDirection" in eye space,
///    "sunLightColor", "ambientLightColor", "materialColor"), up to four point lights and fog to the
///    program that is bound when ApplyLighting runs, which is after the camera's ApplyCamera,
///    and kept for the built-in lit program (cdh_builtin_programs.h);
///  - Visualization: debug lines and triangles in transient lists (emptied by Clear(false)) and
///    persistent lists (emptied only by Clear(true)), drawn with the visualization shader from
///    buffers that are uploaded again only when their list changed;
///    RenderAxes draws the coordinate axes with the same shader.
/// In the renderer's fixed-function mode there are no programs: lighting uploads nothing and
/// lines, triangles and axes are drawn unlit in their vertex colours.
/// @file
/// Depends on: the shader manager, the basic renderer, colours, math. Main thread only.

#include "cinderhall/cdh_retained_vertices.h"
#include "cinderhall/cdh_shader_manager.h"
#include "marrowgate/core/mg_noncopyable.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/mg_color.h"
#include "marrowgate/math/mg_matrix.h"
#include "marrowgate/math/mg_vector.h"

#include <cstdint>
#include <vector>

namespace Cinderhall {

using Marrowgate::Core::Matrix4;
using Marrowgate::Core::Vector3;

class cdhCamera
{
public:
    cdhCamera(const Vector3& position, const Vector3& target, const Vector3& up);

    // Turns the camera towards target; the position stays.
    void SetTarget(const Vector3& target);
    // The view from the position along the forward direction, y of the screen along up.
    Matrix4 ComputeView() const;
    // Sets the renderer's model-view matrix to this camera's view and returns it.
    const Matrix4& ApplyCamera();

    const Vector3& GetPosition() const { return position_; }
    const Vector3& GetForward() const { return forward_; }
    const Vector3& GetUp() const { return up_; }
    // The matrix built by the last ApplyCamera.
    const Matrix4& GetView() const { return view_; }

private:
    Vector3 position_;
    Vector3 forward_;
    Vector3 up_;
    Matrix4 view_;
};

// Fog fades what the built-in programs draw into one colour with the distance from the eye:
// linear fog from `start` (untouched) to `end` (all fog), or exponential fog, where a surface
// keeps exp(-density x distance) of its colour. Sent as "fogParameters" (x: 0 none, 1 linear,
// 2 exponential; y: start; z: end; w: density) and "fogColor".
struct Fog
{
    enum class Mode
    {
        kNone,
        kLinear,
        kExponential
    };

    Mode mode = Mode::kNone;
    // Match the sky's horizon (or the clear colour) so far objects melt into it.
    Marrowgate::Graphics::Color color{1.0f, 0.6f, 0.65f, 0.7f};
    float start = 10.0f;
    float end = 100.0f;
    float density = 0.05f;
};

struct SceneLighting
{
    // Uploads the four lighting uniforms and the point lights to the shader manager's bound
    // program, and keeps them for the built-in lit program. Call it with the
    // camera's view as the model-view (after cdhCamera::ApplyCamera, before any object's
    // transform): it turns the world sun direction into eye space with it, normalised. A shader
    // compares that with its normals in eye space, (modelViewMatrix * vec4(normal, 0.0)).xyz.
    void ApplyLighting() const;

    struct PointLight
    {
        // In world space.
        Vector3 position;
        Marrowgate::Graphics::Color color;
        // Where the light has faded to nothing; 0 switches the light off.
        float range = 0.0f;
    };
    static constexpr int kMaximumPointLights = 4;

    // In world space, towards the sun; need not be normalised.
    Vector3 sunDirection{0.0f, 0.55f, 0.45f};
    Marrowgate::Graphics::Color sunColor{1.0f, 1.0f, 1.0f, 0.75f};
    Marrowgate::Graphics::Color ambientColor{1.0f, 0.051f, 0.051f, 0.04f};
    // Sent as "pointLightPosition[i]" (eye space, w the range) and "pointLightColor[i]"; the
    // built-in lit program uses them (see cdh_builtin_programs.h).
    PointLight pointLights[kMaximumPointLights];
    // Uploaded with the lights; the built-in programs, lit and unlit, use it.
    Fog fog;
};

class Visualization : private Marrowgate::Core::Noncopyable
{
public:
    Visualization() = default;
    virtual ~Visualization() = default;

    // Colours are 0xAARRGGBB words.
    void AddLine(const Vector3& start, const Vector3& end, std::uint32_t color);
    void AddTriangle(const Vector3& first, const Vector3& second, const Vector3& third, std::uint32_t color);
    void AddPersistentLine(const Vector3& start, const Vector3& end, std::uint32_t color);
    void AddPersistentTriangle(const Vector3& first, const Vector3& second, const Vector3& third,
                               std::uint32_t color);

    // Empties the transient lists, and the persistent ones too when all is true.
    void Clear(bool all);

    // Draws every non-empty list (transient lines, transient triangles, persistent lines,
    // persistent triangles) with the current matrices. Drawing does not empty the lists.
    virtual void Render();

    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool IsEnabled() const { return enabled_; }

private:
    RetainedVertices transientLines_;
    RetainedVertices transientTriangles_;
    RetainedVertices persistentLines_;
    RetainedVertices persistentTriangles_;
    bool enabled_ = true;
};

// The program every Visualization and RenderAxes draw with; InvalidShader until set.
void SetVisualizationShader(ShaderHandle handle);
ShaderHandle GetVisualizationShader();

// The three axes from the origin, `length` long: x red, y green, z blue; with includeNegative
// also the negative half-axes in darker shades.
void RenderAxes(float length, bool includeNegative);

} // namespace Cinderhall
