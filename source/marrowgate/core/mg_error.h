#pragma once
/// Error reporting: the one way every check in the program reports a failure.
/// @file
/// A report is a printf-style message, whose first word is its category tag written by the
/// caller ("mgError: ", "mgExternalError: ", "mgInternalError: ", "mgDataError: ", ...), plus
/// the source unit and line that raised it. The report goes to the registered handlers in
/// registration order; with the throw switch on it throws instead; with nobody registered it
/// is only recorded and the caller carries on. Single-threaded by design.
///
/// While a ReportSubject is alive (a reader names the file it is reading), every report that
/// does not already name that file ends with ` File: "<path>"`: parsers see only bytes, yet a
/// user must learn which file is broken. Reports that name a file themselves use the same form.
///
/// Depends on nothing but the standard library.

#include <cstdarg>
#include <stdexcept>
#include <string>
#include <string_view>

namespace Marrowgate::Core::Error {

class ErrorHandlerInterface
{
public:
    virtual ~ErrorHandlerInterface() = default;
    virtual void OnErrorFired(const std::string& message) = 0;
};

// Messages longer than this many characters are cut to fit; nothing overflows.
inline constexpr int kMaximumMessageLength = 4095;

#if defined(__GNUC__)
#define MG_PRINTF_FORMAT(formatIndex, firstArgument)                                                         \
    __attribute__((format(printf, formatIndex, firstArgument)))
#else
#define MG_PRINTF_FORMAT(formatIndex, firstArgument)
#endif

// printf-style formatting cut at kMaximumMessageLength characters; shared with the test
// framework so that both cut long messages the same way.
std::string FormatMessage(const char* format, std::va_list arguments);

void TriggerError(const char* file, int line, const char* format, ...) MG_PRINTF_FORMAT(3, 4);
void TriggerErrorIf(bool condition, const char* file, int line, const char* format, ...)
    MG_PRINTF_FORMAT(4, 5);
// As TriggerError with the file "unknown file" and line 0.
void TriggerError(const char* format, ...) MG_PRINTF_FORMAT(1, 2);

void AddErrorHandler(ErrorHandlerInterface* handler);
void RemoveErrorHandler(ErrorHandlerInterface* handler);

// Makes every later report throw ExceptionalErrorHandler::ErroredException. Never cleared.
void EnableThrowingErrors();

const std::string& GetLastErrorFile();
int GetLastErrorLine();

// Names the file that reports made during its life are about. Subjects nest; the innermost one
// is named. Create them on the stack only, so they end in the reverse order.
class ReportSubject
{
public:
    explicit ReportSubject(std::string filePath);
    ~ReportSubject();
    ReportSubject(const ReportSubject&) = delete;
    ReportSubject& operator=(const ReportSubject&) = delete;
};

// The file the innermost live ReportSubject names; empty when none is alive. Valid while it is.
std::string_view GetReportSubject();

} // namespace Marrowgate::Core::Error

namespace mgImplementation {

class ExceptionalErrorHandler : public Marrowgate::Core::Error::ErrorHandlerInterface
{
public:
    class ErroredException : public std::runtime_error
    {
    public:
        using std::runtime_error::runtime_error;
    };

    [[noreturn]] void OnErrorFired(const std::string& message) override;
};

} // namespace mgImplementation

// Each .cpp that reports defines `constexpr char kUnitName[] = "mg_...";` (its unit's name)
// and reports through these, which add the line.
#define MG_ERROR(...) ::Marrowgate::Core::Error::TriggerError(kUnitName, __LINE__, __VA_ARGS__)
#define MG_ERROR_IF(condition, ...)                                                                          \
    ::Marrowgate::Core::Error::TriggerErrorIf((condition), kUnitName, __LINE__, __VA_ARGS__)
