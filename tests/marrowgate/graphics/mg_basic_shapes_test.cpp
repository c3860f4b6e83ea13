#include "marrowgate/graphics/mg_basic_shapes.h"
#include "support/error_capture.h"

#include <gtest/gtest.h>

namespace {

using namespace Marrowgate::Graphics;

// Exposes OnRender so the vertex-count checks can run without drawing through a transform.
class TestShape : public PolygonShape
{
public:
    using PolygonShape::OnRender;
    using PolygonShape::PolygonShape;
};

std::string RenderReport(PrimitiveType type, int vertexCount)
{
    TestShape shape(type);
    for (int index = 0; index < vertexCount; ++index) {
        shape.AddVertex(Vector2(static_cast<float>(index), 0.0f));
    }
    QuorvaneTest::ErrorCapture errors;
    shape.OnRender();
    return errors.Fired() ? errors.Last() : std::string();
}

TEST(PolygonShapeTest, WithoutVerticesDrawsNothingAndReportsNothing)
{
    EXPECT_EQ(RenderReport(PrimitiveType::Triangles, 0), "");
    EXPECT_EQ(TestShape().GetPixelWidth(), 0);
}

TEST(PolygonShapeTest, ReportsVertexCountsItsTypeCannotDraw)
{
    const std::string prefix = "mgExternalError: Expected at least ";
    EXPECT_EQ(RenderReport(PrimitiveType::Triangles, 2),
              prefix + "3 vertices to be added to a PolygonContainer with type Triangles");
    EXPECT_EQ(RenderReport(PrimitiveType::Triangles, 4),
              prefix + "vertices to contain a multiple of 3 for a PolygonContainer with type Triangles");
    EXPECT_EQ(RenderReport(PrimitiveType::TriangleFan, 2),
              prefix + "3 vertices to be added to a PolygonContainer with type TriangleFan");
    EXPECT_EQ(RenderReport(PrimitiveType::LineStrip, 1),
              prefix + "2 vertices to be added to a PolygonContainer with type LineStrip");
    EXPECT_EQ(RenderReport(PrimitiveType::LineLoop, 2),
              prefix + "3 vertices to be added to a PolygonContainer with type LineLoop");
    EXPECT_EQ(RenderReport(PrimitiveType::Triangles, 6), "");
    EXPECT_EQ(RenderReport(PrimitiveType::Lines, 2), "");
}

TEST(PolygonShapeTest, MeasuresTheBoxOfItsVerticesUntilCleared)
{
    TestShape shape;
    shape.AddVertex(Vector2(-5, 2));
    shape.AddVertex(Vector2(20, 12.5f));
    EXPECT_EQ(shape.GetPixelWidth(), 25);
    EXPECT_EQ(shape.GetPixelHeight(), 10);
    shape.ClearVertices();
    shape.AddVertex(Vector2(4, 4));
    shape.AddVertex(Vector2(6, 7));
    EXPECT_EQ(shape.GetPixelWidth(), 2);
    EXPECT_EQ(shape.GetPixelHeight(), 3);
}

TEST(PolygonShapeTest, RecolouringRewritesEveryVertex)
{
    BoxShape box(4, 4, Color(ColorPalette::Red), Vector2());
    EXPECT_EQ(box.GetVertices().front().color, 0xFF0000FFu);
    box.SetColor(Color(ColorPalette::Blue));
    for (const Vertex2D& vertex : box.GetVertices()) {
        EXPECT_EQ(vertex.color, 0xFFFF0000u);
    }
}

TEST(BoxShapeTest, IsAClockwiseStripFromItsTopLeftCorner)
{
    const BoxShape box(100, 50, Color(), Vector2(7, 8));
    ASSERT_EQ(box.GetVertices().size(), 4u);
    EXPECT_EQ(box.GetPrimitiveType(), PrimitiveType::TriangleStrip);
    const auto& vertices = box.GetVertices();
    EXPECT_EQ(Vector2(vertices[0].x, vertices[0].y), Vector2(0, 50));
    EXPECT_EQ(Vector2(vertices[1].x, vertices[1].y), Vector2(0, 0));
    EXPECT_EQ(Vector2(vertices[2].x, vertices[2].y), Vector2(100, 50));
    EXPECT_EQ(Vector2(vertices[3].x, vertices[3].y), Vector2(100, 0));
    EXPECT_EQ(box.GetPosition(), Vector2(7, 8));
    EXPECT_EQ(box.GetPixelWidth(), 100);
}

TEST(CircleShapeTest, IsAClosedFanAroundItsCentre)
{
    const CircleShape circle(10, Color(), Vector2(), 4);
    const std::vector<Vector2> expected = {{10, 10}, {20, 10}, {10, 20}, {0, 10}, {10, 0}, {20, 10}};
    ASSERT_EQ(circle.GetVertices().size(), expected.size());
    for (std::size_t index = 0; index < expected.size(); ++index) {
        EXPECT_NEAR(circle.GetVertices()[index].x, expected[index].x, 1e-4f) << index;
        EXPECT_NEAR(circle.GetVertices()[index].y, expected[index].y, 1e-4f) << index;
    }
    EXPECT_EQ(circle.GetPixelWidth(), 20);
    EXPECT_EQ(circle.GetPixelHeight(), 20);
}

TEST(CircleShapeTest, WithoutSegmentsKeepsOnlyItsCentre)
{
    const CircleShape circle(10, Color(), Vector2(), 0);
    ASSERT_EQ(circle.GetVertices().size(), 1u);
    EXPECT_EQ(circle.GetPixelWidth(), 0);
}

} // namespace
