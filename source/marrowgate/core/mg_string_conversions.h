#pragma once
/// Conversions between numbers and text, as the dynamic structure and data readers need them.
/// @file
/// FromString reads a number the way formatted stream extraction does: leading white space
/// is skipped, the number at the front is taken and anything after it is ignored ("12abc"
/// gives 12); text with no number at its front gives 0. ToString writes the shortest general
/// form a default stream would (up to 6 significant digits for floats: 0.5, 42, 1e-07). Both
/// use the classic "C" conventions whatever the program's locale is.
///
/// Depends on the error facility only.

#include <cstdint>
#include <string>

namespace Marrowgate::Core {

// Reports empty text ("Invalid value for parameter: ...") and returns 0 for it. Instantiated
// for std::int32_t, std::int64_t, float and double.
template <typename Number> Number FromString(const std::string& input);

std::string ToString(std::int64_t value);
std::string ToString(float value);

} // namespace Marrowgate::Core
