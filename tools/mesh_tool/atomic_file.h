#pragma once
// Replacing a file all at once, for the mesh tool: the bytes go to a new file beside the
// target, which is flushed to the disk and then renamed over the target. A failure at any
// point (a full disk, a file-size limit, a missing folder) leaves the old file as it was, or
// no file, and removes the partial copy. A process that may run under a file-size limit
// ignores SIGXFSZ, so that a write past the limit fails here instead of ending it.
//
// Depends on: POSIX file calls only.

#include <span>
#include <string>

namespace MeshTool {

// False with the reason in `error` when the file could not be replaced. A target that exists
// but is not a regular file (a device, a folder) is refused; a symbolic link is followed and
// the file it names is replaced.
bool ReplaceFileAtomically(const std::string& path, std::span<const char> bytes, std::string& error);

} // namespace MeshTool
