#include "marrowgate/graphics/mg_camera.h"

#include <gtest/gtest.h>

namespace {

using namespace Marrowgate::Graphics;
using Marrowgate::Core::Vector2;

TEST(CameraTest, WithoutAShakeReportsItsPlainPosition)
{
    Camera camera;
    camera.SetPosition(Vector2(5, 6));
    camera.Update(0.1f);
    EXPECT_EQ(camera.GetPosition(), Vector2(5, 6));
    EXPECT_FALSE(camera.IsShaking());
}

TEST(CameraTest, ShakesWithinItsIntensityUntilItsTimeRunsOut)
{
    Camera camera;
    camera.SetPosition(Vector2(100, 100));
    camera.Shake(3.0f, 0.05f);
    bool moved = false;
    for (int frame = 0; frame < 5; ++frame) {
        camera.Update(0.01f);
        const Vector2 position = camera.GetPosition();
        EXPECT_LE(std::abs(position.x - 100.0f), 3.0f);
        EXPECT_LE(std::abs(position.y - 100.0f), 3.0f);
        moved = moved || position != Vector2(100, 100);
    }
    EXPECT_TRUE(moved);
    // The frame that runs the time out still shakes; the next one settles.
    camera.Update(0.01f);
    camera.Update(0.01f);
    EXPECT_FALSE(camera.IsShaking());
    EXPECT_EQ(camera.GetPosition(), Vector2(100, 100));
}

class CountedCamera : public Camera
{
public:
    explicit CountedCamera(int& destroyed) : mDestroyed(destroyed) {}
    ~CountedCamera() override { ++mDestroyed; }

private:
    int& mDestroyed;
};

TEST(ActiveCameraTest, FallsBackToTheDefaultCamera)
{
    SetActiveCamera(nullptr);
    Camera& fallback = GetActiveCamera();
    Camera mine;
    SetActiveCamera(&mine);
    EXPECT_EQ(&GetActiveCamera(), &mine);
    SetManagedCamera(nullptr);
    EXPECT_EQ(&GetActiveCamera(), &fallback);
}

TEST(ActiveCameraTest, DestroysOnlyTheCameraItOwns)
{
    int destroyed = 0;
    CountedCamera kept(destroyed);
    SetManagedCamera(new CountedCamera(destroyed));
    SetActiveCamera(&kept);
    EXPECT_EQ(destroyed, 1);
    SetManagedCamera(new CountedCamera(destroyed));
    EXPECT_EQ(destroyed, 1);
    Camera* owned = &GetActiveCamera();
    SetManagedCamera(static_cast<CountedCamera*>(owned));
    EXPECT_EQ(destroyed, 1) << "installing the owned camera again must keep it";
    SetActiveCamera(nullptr);
    EXPECT_EQ(destroyed, 2);
}

} // namespace
