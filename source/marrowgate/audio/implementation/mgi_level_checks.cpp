#include "marrowgate/audio/implementation/mgi_level_checks.h"

#include "marrowgate/core/mg_error.h"

#include <cmath>

namespace mgImplementation {
namespace {

constexpr char kUnitName[] = "mgi_level_checks";

} // namespace

bool IsAcceptedVolume(float volume, const char* what)
{
    // Written so that NaN, which fails every comparison, is refused too.
    const bool accepted = volume >= 0.0f && volume <= 1.0f;
    MG_ERROR_IF(!accepted, "mgExternalError: The %s must be a gain from 0 to 1, not %g.", what,
                static_cast<double>(volume));
    return accepted;
}

bool IsAcceptedPitch(float pitch)
{
    const bool accepted = pitch > 0.0f && std::isfinite(pitch);
    MG_ERROR_IF(!accepted, "mgExternalError: A pitch must be above 0, not %g.", static_cast<double>(pitch));
    return accepted;
}

bool IsAcceptedPan(float pan)
{
    const bool accepted = pan >= -1.0f && pan <= 1.0f;
    MG_ERROR_IF(!accepted, "mgExternalError: A pan must be from -1 to 1, not %g.", static_cast<double>(pan));
    return accepted;
}

bool IsAcceptedFadeLength(float seconds)
{
    const bool accepted = seconds >= 0.0f && std::isfinite(seconds);
    MG_ERROR_IF(!accepted, "mgExternalError: A fade must last 0 seconds or more, not %g.",
                static_cast<double>(seconds));
    return accepted;
}

bool IsAcceptedVector(const Marrowgate::Core::Vector3& vector, const char* what)
{
    const bool accepted = std::isfinite(vector.x) && std::isfinite(vector.y) && std::isfinite(vector.z);
    MG_ERROR_IF(!accepted, "mgExternalError: The %s must be finite, not (%g, %g, %g).", what,
                static_cast<double>(vector.x), static_cast<double>(vector.y), static_cast<double>(vector.z));
    return accepted;
}

} // namespace mgImplementation
