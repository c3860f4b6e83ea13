#include "marrowgate/graphics/mg_basic_shapes.h"

#include "marrowgate/core/mg_error.h"
#include "marrowgate/graphics/mg_texture_manager.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr char kUnitName[] = "mg_basic_shapes";
} // namespace

namespace Marrowgate::Graphics {

void PolygonShape::SetColor(const Color& color)
{
    const std::uint32_t word = color.GetColorABGR();
    for (Vertex2D& vertex : mVertices) {
        vertex.color = word;
    }
    Graphic::SetColor(color);
}

PixelSpace PolygonShape::GetPixelWidth() const
{
    return mVertices.empty() ? 0 : ToPixelSpace(mMaximumX - mMinimumX);
}

PixelSpace PolygonShape::GetPixelHeight() const
{
    return mVertices.empty() ? 0 : ToPixelSpace(mMaximumY - mMinimumY);
}

void PolygonShape::ClearVertices()
{
    mVertices.clear();
    ResetBounds();
}

void PolygonShape::ResetBounds()
{
    mMinimumX = mMinimumY = std::numeric_limits<float>::infinity();
    mMaximumX = mMaximumY = -std::numeric_limits<float>::infinity();
}

void PolygonShape::AddVertex(const Vector2& position)
{
    mVertices.push_back(Vertex2D{position.x, position.y, GetColor().GetColorABGR(), 0.0f, 0.0f});
    mMinimumX = std::min(mMinimumX, position.x);
    mMinimumY = std::min(mMinimumY, position.y);
    mMaximumX = std::max(mMaximumX, position.x);
    mMaximumY = std::max(mMaximumY, position.y);
}

bool PolygonShape::HasDrawableVertexCount() const
{
    const std::size_t count = mVertices.size();
    switch (mType) {
    case PrimitiveType::Triangles:
        if (count < 3) {
            MG_ERROR(
                "mgExternalError: Expected at least 3 vertices to be added to a PolygonContainer with type "
                "Triangles");
            return false;
        }
        if (count % 3 != 0) {
            MG_ERROR("mgExternalError: Expected at least vertices to contain a multiple of 3 for a "
                     "PolygonContainer with type Triangles");
            return false;
        }
        return true;
    case PrimitiveType::TriangleStrip:
        MG_ERROR_IF(count < 3,
                    "mgExternalError: Expected at least 3 vertices to be added to a PolygonContainer "
                    "with type TriangleStrip");
        return count >= 3;
    case PrimitiveType::TriangleFan:
        MG_ERROR_IF(count < 3,
                    "mgExternalError: Expected at least 3 vertices to be added to a PolygonContainer "
                    "with type TriangleFan");
        return count >= 3;
    case PrimitiveType::Lines:
        MG_ERROR_IF(count < 2,
                    "mgExternalError: Expected at least 2 vertices to be added to a PolygonContainer "
                    "with type Lines");
        return count >= 2;
    case PrimitiveType::LineStrip:
        MG_ERROR_IF(count < 2,
                    "mgExternalError: Expected at least 2 vertices to be added to a PolygonContainer "
                    "with type LineStrip");
        return count >= 2;
    case PrimitiveType::LineLoop:
        MG_ERROR_IF(count < 3,
                    "mgExternalError: Expected at least 3 vertices to be added to a PolygonContainer "
                    "with type LineLoop");
        return count >= 3;
    }
    return false;
}

void PolygonShape::OnRender()
{
    if (mVertices.empty() || !HasDrawableVertexCount()) {
        return;
    }
    // The blank texture is white, so the vertex colour shows unchanged.
    BindTexture(GetBlankTexture());
    RenderVertices2D(mType, mVertices.data(), static_cast<std::uint32_t>(mVertices.size()));
}

BoxShape::BoxShape(float width, float height, const Color& color, const Vector2& position)
    : PolygonShape(PrimitiveType::TriangleStrip)
{
    SetPosition(position);
    SetColor(color);
    // Clockwise on screen, as the face culling of the 2D pass expects.
    AddVertex(Vector2(0.0f, height));
    AddVertex(Vector2(0.0f, 0.0f));
    AddVertex(Vector2(width, height));
    AddVertex(Vector2(width, 0.0f));
}

CircleShape::CircleShape(float radius, const Color& color, const Vector2& position, int segments)
    : PolygonShape(PrimitiveType::TriangleFan)
{
    SetPosition(position);
    SetColor(color);
    AddVertex(Vector2(radius, radius));
    if (segments < 1) {
        return;
    }
    // The first rim point is repeated at the end to close the fan.
    for (int index = 0; index <= segments; ++index) {
        const float angle = static_cast<float>(index) / static_cast<float>(segments) * 6.2831855f;
        AddVertex(Vector2(radius + radius * std::cos(angle), radius + radius * std::sin(angle)));
    }
}

} // namespace Marrowgate::Graphics
