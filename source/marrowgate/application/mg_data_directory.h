#pragma once
/// Finding the game's data files wherever the program is started from.
/// @file
/// The game opens its assets by paths relative to the working directory ("data/..."). The program
/// looks for a "data" folder that holds at least one of the game's marker files, in this order:
/// the working directory, beside the executable, the source tree (only for an executable that
/// runs from the folder its build put it in), `<executable>/../share/<program>` (a relocated
/// install) and the installed share directory. The first place found becomes the working
/// directory before anything is loaded.
///
/// A "data" folder without any marker is someone else's (a home folder often has one) and is
/// passed over. One holding some markers is the game's own, even if damaged: loading then reports
/// exactly what is missing instead of quietly running another copy of the data.
///
/// Depends on the platform layer for the executable's folder.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace Marrowgate::Application {

struct DataDirectorySearch
{
    // Files inside "data", relative to it, that only the game's own data folder holds.
    std::vector<std::filesystem::path> markers;
    // The program's name, for <executable>/../share/<programName>.
    std::string programName;
    // The share directory compiled in for an installed program.
    std::filesystem::path installedDirectory;
    // Where the build puts the executable, and the source tree whose "data" that executable
    // uses wherever it is started from. Either may be empty.
    std::filesystem::path buildDirectory;
    std::filesystem::path sourceDirectory;
};

// Call first thing in the program entry. Returns false, after writing to stderr what it looked
// for and every place it tried, when none holds the game's data; the caller then exits with a
// failure code.
bool ChangeToDataDirectory(const DataDirectorySearch& search);

// The places ChangeToDataDirectory tries, in order, for an executable in executableDirectory
// started in workingDirectory. Places the system could not name are left out.
std::vector<std::filesystem::path>
ListDataDirectoryCandidates(const DataDirectorySearch& search, const std::filesystem::path& workingDirectory,
                            const std::filesystem::path& executableDirectory);

// The first candidate whose "data" folder holds at least one of the markers, in the order given.
std::optional<std::filesystem::path> FindDataDirectory(const std::vector<std::filesystem::path>& candidates,
                                                       const std::vector<std::filesystem::path>& markers);

} // namespace Marrowgate::Application
