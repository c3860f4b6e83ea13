#pragma once
/// PolygonShape: a graphic drawn from its own list of coloured vertices with one primitive type,
/// untextured (the blank texture is bound so the vertex colour shows unchanged). BoxShape and
/// CircleShape are presets that fill the list at construction.
/// @file
/// The pixel size is the bounding box of the added vertices (0 while there are none). Vertex
/// counts that the primitive type cannot draw are reported at render time and nothing is drawn.
/// Depends on: Graphic, the basic renderer, the texture manager (blank texture).

#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/mg_graphic.h"

#include <limits>
#include <vector>

namespace Marrowgate::Graphics {

class PolygonShape : public Graphic
{
public:
    explicit PolygonShape(PrimitiveType type = PrimitiveType::Triangles) : mType(type) {}
    ~PolygonShape() override = default;

    // Recolours every vertex as well.
    void SetColor(const Color& color) override;
    PixelSpace GetPixelWidth() const override;
    PixelSpace GetPixelHeight() const override;

    virtual void ClearVertices();
    // Adds a vertex in the shape's current colour and widens the bounds.
    virtual void AddVertex(const Vector2& position);

    PrimitiveType GetPrimitiveType() const { return mType; }
    const std::vector<Vertex2D>& GetVertices() const { return mVertices; }

protected:
    void OnRender() override;

private:
    // Reports and returns false when the vertex count cannot be drawn with the type.
    bool HasDrawableVertexCount() const;

    void ResetBounds();

    std::vector<Vertex2D> mVertices;
    PrimitiveType mType;
    // Empty bounds are inverted (+infinity, -infinity) so that the first vertex sets them.
    float mMinimumX = std::numeric_limits<float>::infinity();
    float mMinimumY = std::numeric_limits<float>::infinity();
    float mMaximumX = -std::numeric_limits<float>::infinity();
    float mMaximumY = -std::numeric_limits<float>::infinity();
};

// A width x height rectangle with its top-left corner at the local origin.
class BoxShape : public PolygonShape
{
public:
    BoxShape(float width, float height, const Color& color, const Vector2& position);
};

// A filled circle whose local box is (0, 0) to (2 radius, 2 radius), drawn as a fan of
// `segments` slices; fewer than 1 slice leaves only the centre, which draws nothing.
class CircleShape : public PolygonShape
{
public:
    CircleShape(float radius, const Color& color, const Vector2& position, int segments);
};

} // namespace Marrowgate::Graphics
