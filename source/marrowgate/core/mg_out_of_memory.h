#pragma once
/// Running out of memory: one line and a failing exit instead of an abort.
/// @file
/// An allocation that fails throws std::bad_alloc. Nothing in the framework can go on without
/// the memory it asked for, and the failure may come from anywhere, inside a driver's shader
/// compiler as well as inside a loader, so nothing catches it; left alone it ends in "terminate
/// called after throwing an instance of 'std::bad_alloc'", an abort signal and a core dump.
///
/// EndProgramWhenMemoryRunsOut() installs a terminate handler that turns that case into one line
/// on standard error, `<program>: memory ran out`, followed by ` while reading "<path>"` when a
/// reader had named the file it was reading (mg_error.h's ReportSubject), and exit status 1. The
/// handler runs before the stack unwinds, so it neither runs destructors in the middle of a
/// library's half-done work nor loses the file's name. Every other uncaught exception keeps the
/// standard behaviour. The game application installs it; tools install it themselves.
///
/// Depends on the error facility and the standard library.

namespace Marrowgate::Core {

// Installs the handler; calls after the first do nothing.
void EndProgramWhenMemoryRunsOut();

} // namespace Marrowgate::Core
