#pragma once
/// From the screen into the 3D world: the ray that starts at a screen point (the mouse, say) and
/// goes into the scene through it, for picking with the ray casts of cdh_ray.h.
/// @file
/// Screen points and rectangles are in the 2D pass's pixels: (0, 0) at the window's top-left,
/// y growing downwards, as the mouse position is reported. The rectangle is where the 3D view
/// is drawn (the whole screen, or a smaller view inside a 2D scene).
/// Depends on: math and the ray.

#include "cinderhall/cdh_ray.h"
#include "marrowgate/math/mg_matrix.h"
#include "marrowgate/math/mg_vector.h"

namespace Cinderhall {

using Marrowgate::Core::Vector2;

struct ScreenRectangle
{
    float left = 0.0f;
    float top = 0.0f;
    float width = 0.0f;
    float height = 0.0f;

    bool Contains(const Vector2& point) const
    {
        return point.x >= left && point.x < left + width && point.y >= top && point.y < top + height;
    }
};

// The ray from the camera through `screenPoint` for a view drawn into `rectangle` with these
// view and projection matrices. It starts on the near plane and its direction has unit length.
// Points outside the rectangle give rays outside the view, as one would extrapolate. An empty
// rectangle or matrices that cannot be inverted are reported and give a ray that hits nothing.
Ray ScreenPointToRay(const Vector2& screenPoint, const ScreenRectangle& rectangle, const Matrix4& view,
                     const Matrix4& projection);

} // namespace Cinderhall
