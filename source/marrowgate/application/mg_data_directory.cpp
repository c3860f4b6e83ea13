#include "marrowgate/application/mg_data_directory.h"

#include "marrowgate/application/implementation/sdl/mgi_sdl_platform.h"

#include <cstdio>
#include <system_error>

namespace Marrowgate::Application {

std::optional<std::filesystem::path> FindDataDirectory(const std::vector<std::filesystem::path>& candidates)
{
    for (const std::filesystem::path& candidate : candidates) {
        std::error_code error;
        if (!candidate.empty() && std::filesystem::is_directory(candidate / "data", error)) {
            return candidate;
        }
    }
    return std::nullopt;
}

bool ChangeToDataDirectory(const std::string& installedDirectory)
{
    std::error_code error;
    const std::filesystem::path executableDirectory = mgImplementation::GetExecutableDirectory();
    // An installed tree moved as a whole (a package, `cmake --install --prefix`) keeps its data
    // in <prefix>/share beside <prefix>/bin, whatever prefix was compiled in.
    const std::filesystem::path relocatedShare =
        executableDirectory.empty() ? std::filesystem::path()
                                    : (executableDirectory / ".." / "share" / "quorvane").lexically_normal();
    const std::vector<std::filesystem::path> candidates{
        std::filesystem::current_path(error),
        executableDirectory,
        relocatedShare,
        installedDirectory,
    };
    if (const std::optional<std::filesystem::path> found = FindDataDirectory(candidates)) {
        std::filesystem::current_path(*found, error);
        if (!error) {
            return true;
        }
    }
    std::fprintf(stderr, "marrowgate: no \"data\" folder found; looked in:\n");
    for (const std::filesystem::path& candidate : candidates) {
        std::fprintf(stderr, "  %s\n", candidate.empty() ? "(unknown)" : candidate.c_str());
    }
    return false;
}

} // namespace Marrowgate::Application
