#include "marrowgate/core/mg_data_file.h"

#include "marrowgate/core/mg_error.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace Marrowgate::Core {
namespace {

constexpr char kUnitName[] = "mg_data_file";

const char* KindOfFile(mode_t mode)
{
    if (S_ISDIR(mode)) {
        return "a directory";
    }
    if (S_ISFIFO(mode)) {
        return "a FIFO";
    }
    if (S_ISCHR(mode)) {
        return "a character device";
    }
    if (S_ISBLK(mode)) {
        return "a block device";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    return "not a regular file";
}

} // namespace

DataFile::DataFile(std::string path, std::uint64_t maximumBytes) : mPath(std::move(path))
{
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait until something writes to it.
    const int descriptor = open(mPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        MG_ERROR("mgDataError: Could not open the file (%s). File: \"%s\"", std::strerror(errno),
                 mPath.c_str());
        return;
    }
    struct stat status
    {
    };
    if (fstat(descriptor, &status) != 0) {
        MG_ERROR("mgDataError: Could not examine the file (%s). File: \"%s\"", std::strerror(errno),
                 mPath.c_str());
        close(descriptor);
        return;
    }
    if (!S_ISREG(status.st_mode)) {
        MG_ERROR("mgDataError: Expected a regular file, found %s. File: \"%s\"", KindOfFile(status.st_mode),
                 mPath.c_str());
        close(descriptor);
        return;
    }
    const auto size = static_cast<std::uint64_t>(status.st_size);
    if (size > maximumBytes) {
        MG_ERROR("mgDataError: The file holds %llu bytes, more than the %llu bytes a file of its kind may "
                 "hold. File: \"%s\"",
                 static_cast<unsigned long long>(size), static_cast<unsigned long long>(maximumBytes),
                 mPath.c_str());
        close(descriptor);
        return;
    }
    mDescriptor = descriptor;
    mSize = size;
}

DataFile::~DataFile()
{
    if (mDescriptor >= 0) {
        close(mDescriptor);
    }
}

std::size_t DataFile::Read(std::span<std::byte> destination)
{
    std::size_t total = 0;
    while (IsOpen() && total < destination.size()) {
        const ssize_t count = read(mDescriptor, destination.data() + total, destination.size() - total);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            MG_ERROR("mgDataError: Reading the file failed (%s). File: \"%s\"", std::strerror(errno),
                     mPath.c_str());
            // Closed, as after any other report: later reads give nothing and report nothing more.
            close(mDescriptor);
            mDescriptor = -1;
            break;
        }
        if (count == 0) {
            break;
        }
        total += static_cast<std::size_t>(count);
    }
    return total;
}

bool DataFile::ReadExactly(std::span<std::byte> destination)
{
    if (Read(destination) == destination.size()) {
        return true;
    }
    // A read error closed the file and has been reported already; only a short file is left to say.
    if (!IsOpen()) {
        return false;
    }
    MG_ERROR("mgDataError: The file ended while it was being read. File: \"%s\"", mPath.c_str());
    return false;
}

std::FILE* DataFile::ReleaseAsStream()
{
    if (!IsOpen()) {
        return nullptr;
    }
    std::FILE* stream = fdopen(mDescriptor, "rb");
    if (stream == nullptr) {
        MG_ERROR("mgDataError: Could not read the file as a stream (%s). File: \"%s\"", std::strerror(errno),
                 mPath.c_str());
        return nullptr; // the descriptor stays ours and is closed with the object
    }
    mDescriptor = -1;
    return stream;
}

} // namespace Marrowgate::Core
