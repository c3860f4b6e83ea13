// The renderer's matrix bookkeeping, which works without a context (nothing reaches GL then).

#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/mg_screen.h"
#include "support/error_capture.h"

#include <gtest/gtest.h>

namespace {

using namespace Marrowgate::Graphics;
using Marrowgate::Core::Vector4;

Vector4 Apply(const Matrix4& matrix, float x, float y)
{
    return matrix * Vector4(x, y, 0.0f, 1.0f);
}

class RendererMatrixTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(IsRendererReady());
        SetProjectionMatrix(Matrix4());
        SetModelViewMatrix(Matrix4());
    }
};

TEST_F(RendererMatrixTest, BeginDrawMapsTheScreenCornersToClipCorners)
{
    SetScreenSize(640, 480);
    Translate(5, 5, 0);
    BeginDraw();
    EXPECT_EQ(GetModelViewMatrix(), Matrix4());
    const Vector4 topLeft = Apply(GetModelViewProjectionMatrix(), 0, 0);
    const Vector4 bottomRight = Apply(GetModelViewProjectionMatrix(), 640, 480);
    EXPECT_FLOAT_EQ(topLeft.x, -1.0f);
    EXPECT_FLOAT_EQ(topLeft.y, 1.0f);
    EXPECT_FLOAT_EQ(bottomRight.x, 1.0f);
    EXPECT_FLOAT_EQ(bottomRight.y, -1.0f);
    EndDraw();
}

TEST_F(RendererMatrixTest, LaterTransformsApplyToVerticesFirst)
{
    Translate(10, 20, 0);
    Scale(2, 3, 1);
    const Vector4 point = Apply(GetModelViewMatrix(), 1, 1);
    EXPECT_FLOAT_EQ(point.x, 12.0f);
    EXPECT_FLOAT_EQ(point.y, 23.0f);

    MultiplyMatrix(Marrowgate::Core::MatrixCreateTranslation(1, 0, 0));
    EXPECT_FLOAT_EQ(Apply(GetModelViewMatrix(), 0, 0).x, 12.0f);
}

TEST_F(RendererMatrixTest, RotatesCounterClockwiseOnTheYDownScreen)
{
    Rotate(90, 0, 0, 5);
    const Vector4 point = Apply(GetModelViewMatrix(), 1, 0);
    EXPECT_NEAR(point.x, 0.0f, 1e-6f);
    EXPECT_NEAR(point.y, -1.0f, 1e-6f);
}

TEST_F(RendererMatrixTest, PopRestoresWhatPushSaved)
{
    Translate(3, 4, 0);
    const Matrix4 saved = GetModelViewMatrix();
    PushMatrix();
    PushMatrix();
    Scale(5, 5, 5);
    PopMatrix();
    EXPECT_EQ(GetModelViewMatrix(), saved);
    Rotate(30, 0, 0, 1);
    PopMatrix();
    EXPECT_EQ(GetModelViewMatrix(), saved);
}

TEST_F(RendererMatrixTest, PopWithAnEmptyStackReportsAndKeepsTheMatrix)
{
    Translate(7, 0, 0);
    const Matrix4 before = GetModelViewMatrix();
    QuorvaneTest::ErrorCapture errors;
    PopMatrix();
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.Last(), "mgExternalError: Can't pop matrix, there is no matrix to pop.");
    EXPECT_EQ(GetModelViewMatrix(), before);
}

TEST_F(RendererMatrixTest, ProjectionAppliesAfterTheModelView)
{
    SetProjectionMatrix(Marrowgate::Core::MatrixCreateScale(2, 2, 1));
    Translate(1, 0, 0);
    EXPECT_FLOAT_EQ(Apply(GetModelViewProjectionMatrix(), 0, 0).x, 2.0f);
}

TEST(RendererWithoutContextTest, DrawingDoesNothingAndReportsNothing)
{
    QuorvaneTest::ErrorCapture errors;
    const Vertex2D vertex;
    RenderVertices2D(PrimitiveType::Triangles, &vertex, 1);
    RenderQuad(Vector2(0, 0), Vector2(1, 1), 0xFFFFFFFFu, 0, 0, 1, 1);
    SetColorMatrix(true);
    EXPECT_FALSE(errors.Fired());
}

TEST(ScreenMetricsTest, DescribeTheDrawableArea)
{
    SetScreenSize(1280, 720);
    EXPECT_EQ(ScreenWidth(), 1280);
    EXPECT_EQ(ScreenHeight(), 720);
    EXPECT_FLOAT_EQ(ScreenCenter().x, 640.0f);
    EXPECT_FLOAT_EQ(ScreenCenter().y, 360.0f);
    EXPECT_FLOAT_EQ(ScreenAspectRatio(), 1280.0f / 720.0f);
    SetScreenSize(1280, 0);
    EXPECT_FLOAT_EQ(ScreenAspectRatio(), 0.0f);
}

} // namespace
