#include "marrowgate/graphics/mg_camera.h"

#include "marrowgate/math/mg_random_numbers.h"

#include <memory>

namespace Marrowgate::Graphics {

namespace {

struct ActiveCameraSlot
{
    Camera defaultCamera;
    Camera* installed = nullptr;
    std::unique_ptr<Camera> owned;
};

ActiveCameraSlot& theActiveCameraSlot()
{
    static ActiveCameraSlot slot;
    return slot;
}

void InstallCamera(Camera* camera, bool isManaged)
{
    ActiveCameraSlot& slot = theActiveCameraSlot();
    std::unique_ptr<Camera> previous = std::move(slot.owned);
    slot.installed = camera;
    if (isManaged) {
        slot.owned.reset(camera);
    }
    // Installing the owned camera again must not destroy it on the way.
    if (previous.get() == camera) {
        static_cast<void>(previous.release());
    }
}

} // namespace

Core::Vector2 Camera::GetPosition() const
{
    return Core::Vector2(mPosition.x + mShakeOffset.x, mPosition.y + mShakeOffset.y);
}

void Camera::Shake(float intensity, float seconds)
{
    mShakeIntensity = intensity;
    mShakeTimeLeft = seconds;
}

void Camera::Update(float deltaTime)
{
    if (mShakeTimeLeft < 0.0f) {
        mShakeOffset = Core::Vector2();
        return;
    }
    mShakeTimeLeft -= deltaTime;
    // x is drawn before y, so a seeded generator gives a repeatable shake.
    const float x = Core::RandomFloat(-mShakeIntensity, mShakeIntensity);
    const float y = Core::RandomFloat(-mShakeIntensity, mShakeIntensity);
    mShakeOffset = Core::Vector2(x, y);
}

void SetActiveCamera(Camera* camera)
{
    InstallCamera(camera, false);
}

void SetManagedCamera(Camera* camera)
{
    InstallCamera(camera, true);
}

Camera& GetActiveCamera()
{
    ActiveCameraSlot& slot = theActiveCameraSlot();
    return slot.installed != nullptr ? *slot.installed : slot.defaultCamera;
}

} // namespace Marrowgate::Graphics
