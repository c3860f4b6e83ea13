#include "cinderhall/cdh_screen_ray.h"

#include "marrowgate/core/mg_error.h"

namespace {
constexpr char kUnitName[] = "cdh_screen_ray";

using Cinderhall::Vector3;
using Marrowgate::Core::Matrix4;
using Marrowgate::Core::Vector4;

Vector3 Unproject(const Matrix4& inverse, float x, float y, float z)
{
    const Vector4 point = inverse * Vector4(x, y, z, 1.0f);
    return Vector3(point.x, point.y, point.z) / point.w;
}
} // namespace

namespace Cinderhall {

Ray ScreenPointToRay(const Vector2& screenPoint, const ScreenRectangle& rectangle, const Matrix4& view,
                     const Matrix4& projection)
{
    const Ray nothing{Vector3(), Vector3()};
    if (!(rectangle.width > 0.0f && rectangle.height > 0.0f)) {
        MG_ERROR("mgExternalError: Expected a view rectangle with a width and a height, not %.1f x %.1f.",
                 static_cast<double>(rectangle.width), static_cast<double>(rectangle.height));
        return nothing;
    }
    const Matrix4 viewProjection = view * projection;
    if (Marrowgate::Core::IsZero(viewProjection.Determinant())) {
        MG_ERROR("mgExternalError: Expected view and projection matrices that can be inverted to turn a "
                 "screen point into a ray.");
        return nothing;
    }
    const Matrix4 inverse = viewProjection.ComputeInverse();
    // Normalised device coordinates: -1 to 1 across the rectangle, y up.
    const float x = (screenPoint.x - rectangle.left) / rectangle.width * 2.0f - 1.0f;
    const float y = 1.0f - (screenPoint.y - rectangle.top) / rectangle.height * 2.0f;
    // Depth 0 rather than the far plane: with a far plane thousands of times the near one the
    // far point's w is nearly zero and the division loses the direction.
    const Vector3 nearPoint = Unproject(inverse, x, y, -1.0f);
    const Vector3 middlePoint = Unproject(inverse, x, y, 0.0f);
    return Ray(nearPoint, middlePoint - nearPoint);
}

} // namespace Cinderhall
