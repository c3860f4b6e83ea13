#pragma once
/// Floating-point numbers to and from text, without the locale: std::from_chars and
/// std::to_chars where the standard library has them for floating types.
/// @file
/// The web build's standard library (emscripten's libc++) has them for integers only; there the
/// C library's strtod and "%.9g" / "%.17g" stand in, which read the same numbers and write ones
/// that read back exactly, if not always in the fewest digits. The stand-in is as strict as
/// from_chars about where a number starts: no leading space and no '+'.
///
/// Header only; depends on the standard library.

#include <cerrno>
#include <charconv>
#include <concepts>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>

namespace Marrowgate::Core {

template <std::floating_point Floating>
std::from_chars_result ParseFloating(const char* first, const char* last, Floating& value)
{
#if defined(__cpp_lib_to_chars)
    return std::from_chars(first, last, value);
#else
    if (first == last || *first == '+' || *first == ' ' || (*first >= '\t' && *first <= '\r')) {
        return {first, std::errc::invalid_argument};
    }
    const std::string text(first, last);
    char* stop = nullptr;
    errno = 0;
    const double parsed = std::strtod(text.c_str(), &stop);
    const auto consumed = stop - text.c_str();
    if (consumed == 0) {
        return {first, std::errc::invalid_argument};
    }
    if (errno == ERANGE) {
        return {first + consumed, std::errc::result_out_of_range};
    }
    value = static_cast<Floating>(parsed);
    return {first + consumed, std::errc()};
#endif
}

template <std::floating_point Floating>
std::to_chars_result FormatFloating(char* first, char* last, Floating value)
{
#if defined(__cpp_lib_to_chars)
    return std::to_chars(first, last, value);
#else
    const int digits = sizeof(Floating) <= sizeof(float) ? 9 : 17;
    const int length = std::snprintf(first, static_cast<std::size_t>(last - first), "%.*g", digits,
                                     static_cast<double>(value));
    if (length < 0 || length >= last - first) {
        return {last, std::errc::value_too_large};
    }
    return {first + length, std::errc()};
#endif
}

} // namespace Marrowgate::Core
