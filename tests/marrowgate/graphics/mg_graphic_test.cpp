// Graphic transforms are checked through the model-view each graphic is drawn with; without a
// context the renderer tracks its matrices and draws nothing, so no window is needed.

#include "marrowgate/graphics/mg_camera.h"
#include "marrowgate/graphics/mg_graphic.h"
#include "probe_graphic.h"
#include "support/error_capture.h"

#include <gtest/gtest.h>

namespace {

using namespace Marrowgate::Graphics;
using Marrowgate::Core::Vector4;
using QuorvaneTest::ProbeGraphic;

Vector2 Place(const Matrix4& modelView, float x, float y)
{
    const Vector4 point = modelView * Vector4(x, y, 0.0f, 1.0f);
    return Vector2(point.x, point.y);
}

class GraphicTest : public testing::Test
{
protected:
    void SetUp() override { SetModelViewMatrix(Matrix4()); }
    void TearDown() override { SetActiveCamera(nullptr); }
};

TEST_F(GraphicTest, PlacesItsOriginAtItsPositionAndTurnsScaledPointsAboutIt)
{
    ProbeGraphic graphic;
    graphic.SetPosition(Vector2(100, 50));
    graphic.SetOrigin(Vector2(10, 5));
    graphic.SetScale(2.0f);
    graphic.SetOrientation(90.0f);
    graphic.Render();

    const Vector2 origin = Place(graphic.drawnWith, 10, 5);
    EXPECT_NEAR(origin.x, 100.0f, 1e-4f);
    EXPECT_NEAR(origin.y, 50.0f, 1e-4f);
    // One pixel right of the origin, scaled to two, turned counter-clockwise: two pixels up.
    const Vector2 right = Place(graphic.drawnWith, 11, 5);
    EXPECT_NEAR(right.x, 100.0f, 1e-4f);
    EXPECT_NEAR(right.y, 48.0f, 1e-4f);
    EXPECT_FLOAT_EQ(graphic.drawnWith.m[11], 0.0f);
}

TEST_F(GraphicTest, SubtractsItsShareOfTheCameraPositionAndUsesDepthAsZ)
{
    Camera camera;
    camera.SetPosition(Vector2(40, -20));
    SetActiveCamera(&camera);
    ProbeGraphic graphic;
    graphic.SetPosition(Vector2(100, 100));
    graphic.SetScrollFactor(Vector2(0.5f, 1.0f));
    graphic.SetDepth(0.25f);
    graphic.Render();
    const Vector4 placed = graphic.drawnWith * Vector4(0, 0, 0, 1);
    EXPECT_FLOAT_EQ(placed.x, 80.0f);
    EXPECT_FLOAT_EQ(placed.y, 120.0f);
    EXPECT_FLOAT_EQ(placed.z, 0.25f);
}

TEST_F(GraphicTest, RenderLeavesTheModelViewAsItFoundIt)
{
    Translate(3, 3, 0);
    const Matrix4 before = GetModelViewMatrix();
    ProbeGraphic graphic;
    graphic.SetPosition(Vector2(9, 9));
    graphic.Render();
    EXPECT_EQ(GetModelViewMatrix(), before);
}

TEST_F(GraphicTest, HiddenGraphicsDoNotDrawAndInactiveOnesDoNotUpdate)
{
    ProbeGraphic graphic;
    graphic.SetVisible(false);
    graphic.SetActive(false);
    graphic.Render();
    graphic.Update(0.5f);
    EXPECT_EQ(graphic.renders, 0);
    EXPECT_FLOAT_EQ(graphic.updatedFor, 0.0f);
    graphic.SetActive(true);
    graphic.Update(0.5f);
    EXPECT_FLOAT_EQ(graphic.updatedFor, 0.5f);
}

TEST_F(GraphicTest, AnchorsTheOriginOnItsPixelBox)
{
    ProbeGraphic graphic;
    graphic.width = 100;
    graphic.height = 50;
    graphic.SetOrigin(AnchorLocation::Center);
    EXPECT_EQ(graphic.GetOrigin(), Vector2(50, 25));
    graphic.SetOrigin(AnchorLocation::BottomRight);
    EXPECT_EQ(graphic.GetOrigin(), Vector2(100, 50));
    graphic.SetOrigin(AnchorLocation::CenterLeft, Vector2(1, 2));
    EXPECT_EQ(graphic.GetOrigin(), Vector2(1, 27));
    graphic.SetOrigin(static_cast<AnchorLocation>(42), Vector2(3, 4));
    EXPECT_EQ(graphic.GetOrigin(), Vector2(3, 4));
}

TEST_F(GraphicTest, RefusesNegativeScales)
{
    ProbeGraphic graphic;
    graphic.SetScale(Vector2(2, 3));
    QuorvaneTest::ErrorCapture errors;
    graphic.SetScale(-1.0f);
    graphic.SetScale(Vector2(1.0f, -0.5f));
    ASSERT_EQ(errors.messages.size(), 2u);
    EXPECT_EQ(errors.Last(),
              "mgExternalError: Cannot set negative scales, perhaps use SetFlipped on the Sprite?");
    EXPECT_EQ(graphic.GetScale(), Vector2(2, 3));
}

TEST(PixelSpaceTest, TruncatesAndStaysInRange)
{
    EXPECT_EQ(ToPixelSpace(12.9f), 12);
    EXPECT_EQ(ToPixelSpace(-3.0f), 0);
    EXPECT_EQ(ToPixelSpace(1e9f), 65535);
    EXPECT_EQ(ToPixelSpace(std::numeric_limits<float>::quiet_NaN()), 0);
}

} // namespace
