#include "marrowgate/core/mg_error.h"

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace Marrowgate::Core::Error {
namespace {

struct ErrorFacility
{
    std::vector<ErrorHandlerInterface*> handlers;
    bool throwingErrors = false;
    std::string lastErrorFile;
    int lastErrorLine = 0;
    std::vector<std::string> subjects;
};

ErrorFacility& Facility()
{
    static ErrorFacility facility;
    return facility;
}

// The message as written, naming the current subject at its end unless it names it already.
std::string NameSubject(std::string message, const std::vector<std::string>& subjects)
{
    if (subjects.empty() || message.find(subjects.back()) != std::string::npos) {
        return message;
    }
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) {
        message.pop_back();
    }
    return message + " File: \"" + subjects.back() + "\"";
}

void Dispatch(const char* file, int line, const char* format, std::va_list arguments)
{
    ErrorFacility& facility = Facility();
    const std::string message = NameSubject(FormatMessage(format, arguments), facility.subjects);

    facility.lastErrorLine = line;
    facility.lastErrorFile = file;

    if (facility.throwingErrors) {
        mgImplementation::ExceptionalErrorHandler().OnErrorFired(message);
    }
    // A handler may remove itself while being called, so walk a copy.
    const std::vector<ErrorHandlerInterface*> handlers = facility.handlers;
    for (ErrorHandlerInterface* handler : handlers) {
        handler->OnErrorFired(message);
    }
}

// Ends a va_list on every way out, a throwing handler included.
struct ArgumentListEnd
{
    std::va_list& arguments;
    ~ArgumentListEnd() { va_end(arguments); }
};

} // namespace

std::string FormatMessage(const char* format, std::va_list arguments)
{
    // vsnprintf always terminates, so an over-long message is cut rather than overflowing.
    std::array<char, kMaximumMessageLength + 1> buffer{};
    std::vsnprintf(buffer.data(), buffer.size(), format, arguments);
    return std::string(buffer.data());
}

void TriggerError(const char* file, int line, const char* format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    const ArgumentListEnd end{arguments};
    Dispatch(file, line, format, arguments);
}

void TriggerErrorIf(bool condition, const char* file, int line, const char* format, ...)
{
    if (!condition) {
        return;
    }
    std::va_list arguments;
    va_start(arguments, format);
    const ArgumentListEnd end{arguments};
    Dispatch(file, line, format, arguments);
}

void TriggerError(const char* format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    const ArgumentListEnd end{arguments};
    Dispatch("unknown file", 0, format, arguments);
}

void AddErrorHandler(ErrorHandlerInterface* handler)
{
    Facility().handlers.push_back(handler);
}

void RemoveErrorHandler(ErrorHandlerInterface* handler)
{
    std::erase(Facility().handlers, handler);
}

void EnableThrowingErrors()
{
    Facility().throwingErrors = true;
}

const std::string& GetLastErrorFile()
{
    return Facility().lastErrorFile;
}

int GetLastErrorLine()
{
    return Facility().lastErrorLine;
}

ReportSubject::ReportSubject(std::string filePath)
{
    Facility().subjects.push_back(std::move(filePath));
}

ReportSubject::~ReportSubject()
{
    Facility().subjects.pop_back();
}

std::string_view GetReportSubject()
{
    const std::vector<std::string>& subjects = Facility().subjects;
    return subjects.empty() ? std::string_view() : std::string_view(subjects.back());
}

} // namespace Marrowgate::Core::Error

namespace mgImplementation {

void ExceptionalErrorHandler::OnErrorFired(const std::string& message)
{
    throw ErroredException(message);
}

} // namespace mgImplementation
