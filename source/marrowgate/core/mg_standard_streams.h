#pragma once
/// Keeps the program's diagnostics harmless whatever its standard streams are.
/// @file
/// A program started with a standard descriptor closed (`2>&-`) would hand that number to the
/// next file it opens, such as the X connection or a sound device, and every later diagnostic
/// would be written into it. A program whose standard error is a pipe nobody reads
/// (`quorvane 2>&1 | true`) would be killed by SIGPIPE at its first diagnostic.
///
/// Linking this unit guards the process before any static constructor of default priority runs,
/// so objects built during static start-up (the audio manager opens its device then) already
/// find descriptors 0 to 2 taken. A program names GuardStandardStreams in its entry, which both
/// links the unit and states the intent; calls after the first do nothing.
///
/// Depends on POSIX only.

namespace Marrowgate::Core {

// Opens /dev/null on each of descriptors 0 to 2 that is closed, and ignores SIGPIPE so that a
// write to a closed pipe fails with an error the writer may ignore instead of ending the process.
void GuardStandardStreams();

} // namespace Marrowgate::Core
