#include "perspective_scene.h"

#include "cinderhall/cdh_shader_manager.h"
#include "marrowgate/core/mg_error.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/mg_screen.h"
#include "marrowgate/graphics/mg_texture_manager.h"

#include <bit>
#include <cmath>
#include <cstdint>

using Marrowgate::Core::Matrix4;
using Marrowgate::Core::Vector3;
namespace Renderer = Marrowgate::Graphics;

namespace {

constexpr char kUnitName[] = "perspective_scene";

constexpr float kQuarterTurn = 1.5707964f;
constexpr float kNearPlane = 0.1f;
constexpr float kFarPlane = 15000.0f;
constexpr float kDepthScale = -(kFarPlane + kNearPlane) / (kFarPlane - kNearPlane);
constexpr float kDepthOffset = -2.0f * kFarPlane * kNearPlane / (kFarPlane - kNearPlane);

// The depth terms are formed in float; these are the exact words the projection must hold.
// (The web build's standard library lacks std::bit_cast; the desktop build checks for both.)
#ifdef __cpp_lib_bit_cast
static_assert(std::bit_cast<std::uint32_t>(kDepthScale) == 0xBF80006Fu);
static_assert(std::bit_cast<std::uint32_t>(kDepthOffset) == 0xBE4CCD26u);
#endif

} // namespace

PerspectiveScene::PerspectiveScene()
    : mFieldOfView(kQuarterTurn),
      mCamera(Vector3(10.0f, 10.0f, 10.0f), Vector3(0.0f, 0.0f, 0.0f), Vector3(0.0f, 1.0f, 0.0f))
{
    // Nearly overhead, leaning a little towards the camera's corner of the ground: the light the
    // car and the chip have always shown from the camera's starting place.
    mLighting.sunDirection = Vector3(0.0496333f, 0.9975335f, 0.0496333f);
}

PerspectiveScene::~PerspectiveScene() = default;

void PerspectiveScene::OnSimulate()
{
    Marrowgate::Game::GameScene::OnSimulate();
    mEntityManager.Simulate();
}

void PerspectiveScene::OnUpdate(float deltaTime)
{
    Marrowgate::Game::GameScene::OnUpdate(deltaTime);
    mEntityManager.Update(deltaTime);
}

void PerspectiveScene::OnRender()
{
    BeginPerspectiveRender();
    OnPerspectiveRender();
    EndPerspectiveRender();
    Marrowgate::Game::GameScene::OnRender();
}

Matrix4 PerspectiveScene::ComputeProjection(float fieldOfView, float aspectRatio)
{
    // The vertical angle is the stored field of view divided by the aspect ratio; its half
    // tangent is taken in double precision.
    const float halfAngle = fieldOfView / aspectRatio * 0.5f;
    const float t = static_cast<float>(std::tan(static_cast<double>(halfAngle)));
    Matrix4 projection(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                       0.0f, 0.0f);
    projection.m[0] = 1.0f / (t * aspectRatio);
    projection.m[5] = 1.0f / t;
    projection.m[10] = kDepthScale;
    projection.m[11] = kDepthOffset;
    projection.m[14] = -1.0f;
    return projection;
}

void PerspectiveScene::BeginPerspectiveRender()
{
    MG_ERROR_IF(mInPerspectiveRender, "Attempting to BeginPerspectiveRender, already setup!");
    if (mInPerspectiveRender) {
        // Saving again would lose the 2D matrices that the open pass must restore.
        return;
    }
    Cinderhall::theShaderManager->BindShader(Cinderhall::GetVisualizationShader());
    Renderer::BindTexture(Renderer::GetBlankTexture());
    mSavedProjection = Renderer::GetProjectionMatrix();
    mSavedModelView = Renderer::GetModelViewMatrix();
    const float aspectRatio = Renderer::ScreenAspectRatio();
    mCamera.ApplyCamera();
    Renderer::SetProjectionMatrix(ComputeProjection(mFieldOfView, aspectRatio));
    mLighting.ApplyLighting();
    mInPerspectiveRender = true;
}

void PerspectiveScene::EndPerspectiveRender()
{
    MG_ERROR_IF(!mInPerspectiveRender, "Attempting to EndPerspectiveRender, not currently setup!");
    if (!mInPerspectiveRender) {
        // Nothing was saved: restoring would replace the 2D matrices with stale ones.
        return;
    }
    Cinderhall::theShaderManager->BindShader(Cinderhall::InvalidShader);
    Renderer::SetProjectionMatrix(mSavedProjection);
    Renderer::SetModelViewMatrix(mSavedModelView);
    mInPerspectiveRender = false;
}
