#pragma once
/// Data files: the one way the framework, the kits and the tools open a file they read data from
/// (meshes, shaders, images, sounds, JSON, fonts).
/// @file
/// A data file is opened without blocking, so a FIFO never waits for a writer; it is checked
/// after opening to be a regular file, so a directory, a device or a FIFO is refused and nothing
/// can be swapped in between the check and the read; and it is measured before a byte is read,
/// so a file over the bound its kind allows (a forged or sparse multi-gigabyte file) never reaches
/// memory. Every refusal is reported through the error facility as an "mgDataError: " naming the
/// file (` File: "<path>"`), and the file then reads as absent.
///
/// The bounds, far above anything the game ships and low enough that a refused file costs nothing:
///   meshes 256 MiB, images 128 MiB, sounds 256 MiB, JSON 16 MiB, shaders 1 MiB, fonts 64 MiB.
///
/// Running out of memory while a file is read whole names the file (mg_out_of_memory.h).
///
/// Depends on the error facility and POSIX. Known limits: a file that grows after it was measured
/// is read up to its measured size; one that shrinks is reported as ending early.

#include "marrowgate/core/mg_error.h"
#include "marrowgate/core/mg_noncopyable.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>

namespace Marrowgate::Core {

inline constexpr std::uint64_t kMebibyte = 1024 * 1024;
inline constexpr std::uint64_t kMaximumMeshFileBytes = 256 * kMebibyte;
inline constexpr std::uint64_t kMaximumImageFileBytes = 128 * kMebibyte;
inline constexpr std::uint64_t kMaximumSoundFileBytes = 256 * kMebibyte;
inline constexpr std::uint64_t kMaximumJsonFileBytes = 16 * kMebibyte;
inline constexpr std::uint64_t kMaximumShaderFileBytes = 1 * kMebibyte;
inline constexpr std::uint64_t kMaximumFontFileBytes = 64 * kMebibyte;

class DataFile : private Noncopyable
{
public:
    // Opens and checks the file; after a report the object is closed (IsOpen() is false).
    DataFile(std::string path, std::uint64_t maximumBytes);
    ~DataFile();

    bool IsOpen() const { return mDescriptor >= 0; }
    const std::string& GetPath() const { return mPath; }
    // The size measured when the file was opened.
    std::uint64_t GetSize() const { return mSize; }

    // Reads up to destination.size() bytes from the current position and returns how many came;
    // fewer only at the end of the file, or after a read error, which is reported and closes it.
    std::size_t Read(std::span<std::byte> destination);
    // Fills destination completely, or returns false after one report: that the file ended
    // early, or the read error.
    bool ReadExactly(std::span<std::byte> destination);

    // Hands the open file over as a C stream, for decoders that read through stdio; the object
    // is closed afterwards. Null, after a report, when the file is not open or no stream can be made.
    std::FILE* ReleaseAsStream();

private:
    std::string mPath;
    int mDescriptor = -1;
    std::uint64_t mSize = 0;
};

// The whole file in a container of bytes or characters (std::string, std::vector<std::byte>,
// std::vector<unsigned char>), or nothing after a report.
template <typename Container>
std::optional<Container> ReadDataFile(const std::string& path, std::uint64_t maximumBytes)
{
    DataFile file(path, maximumBytes);
    if (!file.IsOpen()) {
        return std::nullopt;
    }
    // The file's size decides this allocation; should memory run out, the file is named.
    const Error::ReportSubject subject(path);
    Container contents(static_cast<std::size_t>(file.GetSize()), typename Container::value_type{});
    if (!file.ReadExactly(std::as_writable_bytes(std::span(contents.data(), contents.size())))) {
        return std::nullopt;
    }
    return contents;
}

} // namespace Marrowgate::Core
