#include "marrowgate/core/mg_string_conversions.h"

#include "marrowgate/core/mg_error.h"

#include <locale>
#include <sstream>

namespace {
constexpr char kUnitName[] = "mg_string_conversions";
}

namespace Marrowgate::Core {

template <typename Number> Number FromString(const std::string& input)
{
    if (input.empty()) {
        MG_ERROR("Invalid value for parameter: input, expected valid, non-empty, string.");
        return Number{0};
    }
    // The program's locale could use a decimal comma; data files never do.
    std::istringstream stream(input);
    stream.imbue(std::locale::classic());
    Number value{0};
    // A failed extraction stores 0 (no number) or the type's limit (out of range), never garbage.
    stream >> value;
    return value;
}

template std::int32_t FromString<std::int32_t>(const std::string&);
template std::int64_t FromString<std::int64_t>(const std::string&);
template float FromString<float>(const std::string&);
template double FromString<double>(const std::string&);

std::string ToString(std::int64_t value)
{
    return std::to_string(value);
}

std::string ToString(float value)
{
    std::ostringstream stream;
    stream.imbue(std::locale::classic());
    stream << value;
    return stream.str();
}

} // namespace Marrowgate::Core
