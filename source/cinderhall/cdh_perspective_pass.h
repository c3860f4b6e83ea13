#pragma once
/// PerspectivePass: a 3D view drawn inside a scene's 2D frame, over the whole screen or in a
/// rectangle of it, with a perspective projection, a camera's view and scene lighting.
/// @file
/// Begin saves what the 2D pass has set up (projection, model-view, bound program and the
/// viewport), points the view at the rectangle, clears depth there (so 2D drawn before is
/// background, never in front of the 3D scene), binds the pass's program and the blank texture,
/// sets the view and projection and uploads the lighting to that program (the sun given in
/// world space, turned into eye space by the view, as SceneLighting does). Meshes, entities and
/// debug lines drawn until End appear in the view; End puts every saved thing back, so 2D drawn
/// afterwards lands on top as usual. Any camera serves: Begin takes its view matrix
/// (cdhCamera, FollowCamera and OrbitCamera all have ComputeView).
///
/// A pass has a look of its own: fog (in its lighting, see Fog), a sky drawn behind everything
/// right after the depth clear (GetSky, see cdh_sky.h), and the sun's shadows (GetShadowSettings,
/// see cdh_shadow_map.h): with shadows on, Begin first draws the shadow casters (the render lists
/// given to SetShadowCasters) into the shadow map and hands it to the built-in lit program for
/// the pass. Fog and shadows reach the built-in programs only. The fixed-function set-up has no
/// sky, fog or shadows; the first pass that asks for one there says so once on stderr.
///
/// Rectangles are in the 2D pass's pixels: (0, 0) top-left, y down, like the mouse. The
/// default projection is right-handed for the vertical field of view, the rectangle's aspect
/// and the clip planes; Begin can take another. ScreenPointToRay turns a screen point into a
/// world ray through the last view drawn, for picking.
///
/// Depends on: the renderer and the texture manager (in the .cpp only), the shader manager,
/// scene lighting, screen metrics, rays. Main thread only; one pass open at a time.

#include "cinderhall/cdh_screen_ray.h"
#include "cinderhall/cdh_shader_manager.h"
#include "cinderhall/cdh_shadow_map.h"
#include "cinderhall/cdh_sky.h"
#include "cinderhall/cdh_visualization.h"
#include "marrowgate/core/mg_noncopyable.h"
#include "marrowgate/math/mg_matrix.h"

#include <array>
#include <vector>

namespace Cinderhall {

class PerspectivePass : private Marrowgate::Core::Noncopyable
{
public:
    static constexpr float kDefaultFieldOfView = 0.9f; // vertical, radians (about 52 degrees)
    static constexpr float kDefaultNearPlane = 0.1f;
    static constexpr float kDefaultFarPlane = 1000.0f;

    PerspectivePass() = default;
    // An open pass is closed, so the 2D state comes back.
    ~PerspectivePass();

    // An empty rectangle (the default) is the whole screen.
    void SetRectangle(const ScreenRectangle& rectangle) { rectangle_ = rectangle; }
    // The rectangle Begin draws into: the one set, or the whole screen.
    ScreenRectangle GetScreenRectangle() const;

    // A field of view outside (0, pi) or clip planes that are not 0 < near < far are reported
    // and ignored.
    void SetFieldOfView(float verticalRadians);
    void SetClipPlanes(float nearPlane, float farPlane);
    // The program bound during the pass and given the lighting. InvalidShader (the default)
    // leaves the bound program alone.
    void SetProgram(ShaderHandle program) { program_ = program; }
    SceneLighting& GetLighting() { return lighting_; }
    Sky& GetSky() { return sky_; }
    ShadowSettings& GetShadowSettings() { return shadowMap_.GetSettings(); }
    // The lists whose objects cast shadows; they must outlive their use here.
    void SetShadowCasters(std::vector<const RenderList*> casters) { shadowCasters_ = std::move(casters); }

    Matrix4 ComputeProjection() const;

    // Opening a pass that is open is reported and changes nothing.
    void Begin(const Matrix4& view);
    void Begin(const Matrix4& view, const Matrix4& projection);
    // Closing a pass that is not open is reported and changes nothing.
    void End();
    bool IsOpen() const { return isOpen_; }

    // The view, projection and rectangle of the last Begin. Before the first, rays go through an
    // identity view with the pass's own projection and rectangle.
    const Matrix4& GetView() const { return view_; }
    const Matrix4& GetProjection() const { return projection_; }
    Ray ScreenPointToRay(const Vector2& screenPoint) const;

private:
    // Hands the shadow map drawn by Begin (or its absence) to the built-in lit program.
    void ShareShadowMap();

    ScreenRectangle rectangle_;
    float fieldOfView_ = kDefaultFieldOfView;
    float nearPlane_ = kDefaultNearPlane;
    float farPlane_ = kDefaultFarPlane;
    ShaderHandle program_ = InvalidShader;
    SceneLighting lighting_;
    Sky sky_;
    ShadowMap shadowMap_;
    std::vector<const RenderList*> shadowCasters_;
    // Whether this pass bound a shadow map, which End unbinds.
    bool boundShadowMap_ = false;

    Matrix4 view_;
    Matrix4 projection_;
    ScreenRectangle drawnRectangle_;
    bool hasBegun_ = false;
    bool isOpen_ = false;
    // Saved by Begin, put back by End.
    Matrix4 savedProjection_;
    Matrix4 savedModelView_;
    ShaderHandle savedProgram_ = InvalidShader;
    std::array<int, 4> savedViewport_{};
    bool changedViewport_ = false;
};

} // namespace Cinderhall
