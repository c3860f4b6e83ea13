#pragma once
// Finding the game's data files wherever the program is started from.
//
// The game opens its assets by paths relative to the working directory ("data/..."). When the
// working directory has no "data" folder, the program looks beside its executable, then in
// <executable>/../share/quorvane (a relocated install), then in the installed share directory, and makes the
// first place that holds "data" the working directory before anything is loaded.
//
// Depends on the platform layer for the executable's folder.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace Marrowgate::Application {

// Call first thing in the program entry. Returns false, after writing every place it tried to
// stderr, when none holds "data"; the caller then exits with a failure code.
bool ChangeToDataDirectory(const std::string& installedDirectory);

// The first candidate that holds a "data" folder, in the order given.
std::optional<std::filesystem::path> FindDataDirectory(const std::vector<std::filesystem::path>& candidates);

} // namespace Marrowgate::Application
