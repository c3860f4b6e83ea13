#include "marrowgate/application/mg_data_directory.h"

#include "marrowgate/application/implementation/sdl/mgi_sdl_platform.h"

#include <cstdio>
#include <system_error>

namespace Marrowgate::Application {
namespace {

namespace fs = std::filesystem;

// Any kind of file counts: a marker that is a directory or a FIFO still says whose folder this
// is, and loading it then reports it by name.
bool HoldsMarker(const fs::path& candidate, const std::vector<fs::path>& markers)
{
    for (const fs::path& marker : markers) {
        std::error_code error;
        if (fs::exists(candidate / "data" / marker, error)) {
            return true;
        }
    }
    return false;
}

bool IsSameDirectory(const fs::path& first, const fs::path& second)
{
    std::error_code error;
    return !first.empty() && !second.empty() && fs::equivalent(first, second, error) && !error;
}

void ReportNotFound(const DataDirectorySearch& search, const std::vector<fs::path>& candidates)
{
    std::string markers;
    for (const fs::path& marker : search.markers) {
        markers += (markers.empty() ? "" : " or ") + ("data" / marker).string();
    }
    std::fprintf(stderr, "marrowgate: the game's data was not found: no folder holds %s; looked in:\n",
                 markers.c_str());
    for (const fs::path& candidate : candidates) {
        std::fprintf(stderr, "  %s\n", candidate.c_str());
    }
}

} // namespace

std::vector<fs::path> ListDataDirectoryCandidates(const DataDirectorySearch& search,
                                                  const fs::path& workingDirectory,
                                                  const fs::path& executableDirectory)
{
    std::vector<fs::path> candidates{workingDirectory, executableDirectory};
    // A developer's executable keeps using the data it was built with, from whatever folder it
    // is started; a copy of it elsewhere (an install) does not.
    if (IsSameDirectory(executableDirectory, search.buildDirectory)) {
        candidates.push_back(search.sourceDirectory);
    }
    // An installed tree moved as a whole (a package, `cmake --install --prefix`) keeps its data
    // in <prefix>/share beside <prefix>/bin, whatever prefix was compiled in.
    if (!executableDirectory.empty()) {
        candidates.push_back((executableDirectory / ".." / "share" / search.programName).lexically_normal());
    }
    candidates.push_back(search.installedDirectory);
    std::erase_if(candidates, [](const fs::path& candidate) { return candidate.empty(); });
    return candidates;
}

std::optional<fs::path> FindDataDirectory(const std::vector<fs::path>& candidates,
                                          const std::vector<fs::path>& markers)
{
    for (const fs::path& candidate : candidates) {
        if (HoldsMarker(candidate, markers)) {
            return candidate;
        }
    }
    return std::nullopt;
}

bool ChangeToDataDirectory(const DataDirectorySearch& search)
{
    std::error_code error;
    const std::vector<fs::path> candidates = ListDataDirectoryCandidates(
        search, fs::current_path(error), mgImplementation::GetExecutableDirectory());
    if (const std::optional<fs::path> found = FindDataDirectory(candidates, search.markers)) {
        fs::current_path(*found, error);
        if (error) {
            std::fprintf(stderr,
                         "marrowgate: the game's data is in %s, but the program cannot work there: %s\n",
                         found->c_str(), error.message().c_str());
        }
        return !error;
    }
    ReportNotFound(search, candidates);
    return false;
}

} // namespace Marrowgate::Application
