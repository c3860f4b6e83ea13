#include "marrowgate/core/mg_out_of_memory.h"

#include "marrowgate/core/mg_error.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <new>
#include <string_view>

namespace Marrowgate::Core {
namespace {

std::terminate_handler sStandardHandler = nullptr;

bool IsOutOfMemory(const std::exception_ptr& exception)
{
    try {
        std::rethrow_exception(exception);
    } catch (const std::bad_alloc&) {
        return true;
    } catch (...) {
        return false;
    }
}

[[noreturn]] void EndOnUncaughtException()
{
    const std::exception_ptr exception = std::current_exception();
    if (exception == nullptr || !IsOutOfMemory(exception)) {
        sStandardHandler();
        std::abort();
    }
    // Nothing here may allocate: stderr is unbuffered, and the subject's text already exists.
    const std::string_view subject = Error::GetReportSubject();
    if (subject.empty()) {
        std::fprintf(stderr, "%s: memory ran out\n", program_invocation_short_name);
    } else {
        std::fprintf(stderr, "%s: memory ran out while reading \"%.*s\"\n", program_invocation_short_name,
                     static_cast<int>(subject.size()), subject.data());
    }
    std::fflush(stdout);
    std::_Exit(EXIT_FAILURE);
}

} // namespace

void EndProgramWhenMemoryRunsOut()
{
    if (sStandardHandler == nullptr) {
        sStandardHandler = std::set_terminate(EndOnUncaughtException);
    }
}

} // namespace Marrowgate::Core
