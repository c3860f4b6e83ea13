#pragma once
/// Camera: the 2D view offset that graphics subtract (scaled by their scroll factor) from their
/// positions, with an optional screen shake; and the framework-wide active-camera slot.
/// @file
/// The slot holds either a camera the caller keeps (SetActiveCamera) or one the framework owns
/// (SetManagedCamera); with none installed a built-in default camera at (0, 0) answers.
/// Depends on: math (vectors, random numbers).

#include "marrowgate/math/mg_vector.h"

namespace Marrowgate::Graphics {

class Camera
{
public:
    Camera() = default;
    virtual ~Camera() = default;
    Camera(const Camera&) = default;
    Camera& operator=(const Camera&) = default;

    // The position plus the current shake offset.
    Core::Vector2 GetPosition() const;
    void SetPosition(const Core::Vector2& position) { mPosition = position; }
    float GetOrientation() const { return mOrientation; }
    void SetOrientation(float degrees) { mOrientation = degrees; }

    // Shakes for `seconds` with offsets drawn uniformly from [-intensity, intensity] on each axis.
    void Shake(float intensity, float seconds);
    bool IsShaking() const { return mShakeTimeLeft >= 0.0f; }

    // Once per frame: advances the shake and draws this frame's offset.
    void Update(float deltaTime);

private:
    Core::Vector2 mPosition;
    Core::Vector2 mShakeOffset;
    float mOrientation = 0.0f;
    float mShakeIntensity = 0.0f;
    // Negative when not shaking.
    float mShakeTimeLeft = -1.0f;
};

// Installs a camera the caller keeps alive; null means the default camera.
void SetActiveCamera(Camera* camera);
// Installs a camera the framework owns and destroys when another is installed; null is allowed.
void SetManagedCamera(Camera* camera);
// The installed camera, or the default camera when none is installed.
Camera& GetActiveCamera();

} // namespace Marrowgate::Graphics
