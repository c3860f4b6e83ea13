#include "car_entity.h"

#include "marrowgate/core/mg_error.h"

#include <bit>
#include <cmath>
#include <cstdint>

using Marrowgate::Core::Matrix4;
using Marrowgate::Core::Vector3;

Cinderhall::Visualization theDebugVisualization;

namespace {

constexpr char kUnitName[] = "car_entity";
constexpr char kMeshPath[] = "data/mesh/car.msh";

constexpr float kCollisionRadius = 0.762f;
constexpr float kThrust = 10.0f;
constexpr float kDragFactor = 0.78f;
constexpr float kStepSeconds = 0.01f;
// 3.6 degrees: a hundred steps of turning make one full turn.
constexpr float kTurnAnglePerStep = 0.062831849f;
constexpr float kHeadingLineLength = 10.0f;
constexpr std::uint32_t kHeadingLineColor = 0xFFFF00FF;
// Below this length the velocity has no direction to drag against.
constexpr float kShortestDirection = 0.00001f;

// The driving model is tuned to these exact values; a change of one bit changes every run.
// (The web build's standard library lacks std::bit_cast; the desktop build checks for both.)
#ifdef __cpp_lib_bit_cast
static_assert(std::bit_cast<std::uint32_t>(kDragFactor) == 0x3F47AE14u);
static_assert(std::bit_cast<std::uint32_t>(kTurnAnglePerStep) == 0x3D80ADFCu);
#endif

// The turn about the car's up axis, with cos at 0 and 10, sin at 2 and -sin at 8.
Matrix4 YawRotation(float angle)
{
    const float cosine = static_cast<float>(std::cos(static_cast<double>(angle)));
    const float sine = static_cast<float>(std::sin(static_cast<double>(angle)));
    Matrix4 rotation;
    rotation.m[0] = cosine;
    rotation.m[2] = sine;
    rotation.m[8] = -sine;
    rotation.m[10] = cosine;
    return rotation;
}

// transform x rotation, element (r, c) = sum over k of transform(r, k) * rotation(k, c): the
// rotation acts in the car's own frame and leaves the position column alone.
Matrix4 TurnedBy(const Matrix4& transform, const Matrix4& rotation)
{
    Matrix4 result;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += transform.m[row * 4 + k] * rotation.m[k * 4 + column];
            }
            result.m[row * 4 + column] = sum;
        }
    }
    return result;
}

} // namespace

CarEntity::CarEntity() : Orrery::Game::Entity("CarEntity")
{
    // A missing mesh would leave a car the player cannot see.
    MG_ERROR_IF(mMesh.LoadMesh(kMeshPath) == nullptr, "mgDataError: Expected the mesh file \"%s\" to load.",
                kMeshPath);
    AddBoundingSphere(kCollisionRadius, Vector3(0.0f, 0.0f, 0.0f));
}

CarEntity::~CarEntity() = default;

void CarEntity::OnSimulate()
{
    Orrery::Game::Entity::OnSimulate();
    // The heading is taken before this step's turn and drives this step's thrust.
    const Matrix4& transform = GetTransform();
    const Vector3 forward(transform.m[2], transform.m[6], transform.m[10]);
    UpdateHeadingLine(forward);
    const Vector3 force = ComputeForce(forward);
    Turn();
    Integrate(force);
    if (mResetKey.IsPressed()) {
        mVelocity = Vector3();
        SetTransform(Matrix4());
    }
}

void CarEntity::UpdateHeadingLine(const Vector3& forward) const
{
    const Vector3 position = GetPosition();
    theDebugVisualization.Clear(false);
    theDebugVisualization.AddLine(position, position + forward * kHeadingLineLength, kHeadingLineColor);
}

Vector3 CarEntity::ComputeForce(const Vector3& forward) const
{
    Vector3 force;
    if (mAccelerateKey.IsDown()) {
        force += forward * kThrust;
    }
    if (mReverseKey.IsDown()) {
        force += forward * -kThrust;
    }
    const float speed = static_cast<float>(std::sqrt(static_cast<double>(mVelocity.MagnitudeSquared())));
    const Vector3 direction = speed > kShortestDirection ? mVelocity / speed : Vector3();
    force -= direction * speed * kDragFactor;
    return force;
}

void CarEntity::Turn()
{
    if (mTurnLeftKey.IsDown()) {
        SetTransform(TurnedBy(GetTransform(), YawRotation(kTurnAnglePerStep)));
    }
    if (mTurnRightKey.IsDown()) {
        SetTransform(TurnedBy(GetTransform(), YawRotation(-kTurnAnglePerStep)));
    }
}

void CarEntity::Integrate(const Vector3& force)
{
    mVelocity += force * kStepSeconds;
    const Vector3 displacement = mVelocity * kStepSeconds;
    Matrix4 transform = GetTransform();
    transform.m[3] += displacement.x;
    transform.m[7] += displacement.y;
    transform.m[11] += displacement.z;
    SetTransform(transform);
}

void CarEntity::OnUpdate(float deltaTime)
{
    Orrery::Game::Entity::OnUpdate(deltaTime);
    mMesh.SetTransform(GetTransform());
}

void CarEntity::OnRender()
{
    Orrery::Game::Entity::OnRender();
    theDebugVisualization.Render();
}
