#pragma once
/// ShadowMap: the depth of a scene's shadow casters as the sun sees them, so the built-in lit
/// program can leave out the sun's light where something stands between a surface and the sun.
/// @file
/// The map covers a sphere of `radius` around `center` (world units): only objects inside it
/// cast shadows, and only surfaces inside it receive them; beyond it everything is lit. The sun
/// looks at it from `radius` away, along its direction, through an orthographic projection onto
/// a square depth texture of `mapSize` texels a side (2048 by default, so a texel spans
/// 2 x radius / mapSize world units; shadows are that blocky, softened by averaging 3 x 3 texels).
///
/// Bias: a surface counts as lit unless it is more than `bias` world units (0.05 by default)
/// behind the nearest caster along the sun's direction; the casters are also drawn with a
/// polygon offset of 2 x their depth slope plus 4 units. Both keep lit surfaces from shadowing
/// themselves ("acne"); too large a bias lets shadows start a little away from their casters.
///
/// Shadow maps need depth textures that a framebuffer draws into: the desktop set-up and OpenGL
/// ES 3.0 have them. In other set-ups Render draws nothing; OpenGL ES 2.0 says so once on stderr
/// (the perspective pass says it for the fixed-function set-up, with the rest it lacks there). A size the
/// driver cannot make (beyond its largest texture, or a framebuffer it refuses) is reported once, naming the
/// size and the cause; the scene then draws without shadows. The texture and framebuffer belong to the
/// renderer's context: a new context gets new ones. Main thread only.
///
/// Depends on: the render list and the shader manager, the basic renderer, math.

#include "cinderhall/cdh_mesh.h"
#include "marrowgate/core/mg_noncopyable.h"
#include "marrowgate/math/mg_vector.h"

#include <cstdint>
#include <span>

namespace Cinderhall {

struct ShadowSettings
{
    bool enabled = false;
    Vector3 center;
    float radius = 20.0f;
    int mapSize = 2048;
    float bias = 0.05f;
};

class ShadowMap : private Marrowgate::Core::Noncopyable
{
public:
    ShadowMap() = default;
    ~ShadowMap();

    ShadowSettings& GetSettings() { return settings_; }
    const ShadowSettings& GetSettings() const { return settings_; }

    // Draws the depth of every object of the lists as seen from the sun (a world direction
    // towards it). False when there is no map to use: shadows are off, the sun has no
    // direction, the set-up has no shadow maps, or the driver refused the map. The viewport,
    // framebuffer, matrices and bound program are as before afterwards.
    bool Render(const Vector3& sunDirection, std::span<const RenderList* const> casters);

    // After a successful Render: from the eye space of `view` to the map (x and y its texture
    // coordinates, z the depth the map holds).
    Matrix4 ComputeEyeToMap(const Matrix4& view) const;
    // The bias in the map's depth units.
    float GetDepthBias() const;
    // The OpenGL name of the depth texture; 0 before a successful Render in this context.
    std::uint32_t GetTextureName() const;

private:
    // Makes the texture and framebuffer in the current context at the set size when needed;
    // false after a report.
    bool Prepare();
    void Release();

    ShadowSettings settings_;
    Matrix4 worldToMap_;
    std::uint64_t generation_ = 0;
    std::uint32_t texture_ = 0;
    std::uint32_t framebuffer_ = 0;
    int builtSize_ = 0;
    // The size that was refused in this context, so the report is made once.
    int refusedSize_ = 0;
};

} // namespace Cinderhall
