#include "atomic_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace MeshTool {

namespace {

bool Fail(std::string& error, const char* what)
{
    error = std::string(what) + ": " + std::strerror(errno);
    return false;
}

// The permissions a newly created file gets; an existing file keeps its own.
mode_t PermissionsFor(const struct stat* existing)
{
    if (existing != nullptr) {
        return existing->st_mode & 07777;
    }
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

bool WriteAll(int descriptor, std::span<const char> bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            if (written == 0) {
                errno = EIO;
            }
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace

bool ReplaceFileAtomically(const std::string& path, std::span<const char> bytes, std::string& error)
{
    std::filesystem::path target(path);
    std::error_code linkError;
    if (std::filesystem::is_symlink(target, linkError)) {
        target = std::filesystem::weakly_canonical(target, linkError);
        if (linkError) {
            errno = linkError.value();
            return Fail(error, "cannot follow the link");
        }
    }
    struct stat existing = {};
    const bool exists = stat(target.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) {
        error = "not a regular file";
        return false;
    }

    std::string temporary = target.string() + ".XXXXXX";
    const int descriptor = mkstemp(temporary.data());
    if (descriptor < 0) {
        return Fail(error, "cannot create a file beside it");
    }
    bool written = WriteAll(descriptor, bytes) &&
                   fchmod(descriptor, PermissionsFor(exists ? &existing : nullptr)) == 0 &&
                   fsync(descriptor) == 0;
    if (written) {
        written = close(descriptor) == 0;
    } else {
        const int writeError = errno;
        close(descriptor);
        errno = writeError;
    }
    if (!written) {
        Fail(error, "cannot write");
        unlink(temporary.c_str());
        return false;
    }
    if (rename(temporary.c_str(), target.c_str()) != 0) {
        Fail(error, "cannot rename the new file into place");
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace MeshTool
