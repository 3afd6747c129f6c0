// The rich workstation the fault sweep runs on: a 64-bit Windows 10 whose standard
// user started the launcher elevated through UAC, the launcher on a mapped share, an
// archive with a file for every destination and install rule, runtimes and a COM
// library to install, configuration locations still to be made or opened, and a
// configuration location the replace mode backs files up into.
#pragma once

#include <filesystem>
#include <string_view>

namespace sweep {

// The launcher's folder on the mapped share, as Windows names it.
inline constexpr std::string_view kLauncherFolder = "Z:\\Portavel\\";

// Fills the empty folder `root` with the machine folder.
void BuildSampleWorkstation(const std::filesystem::path& root);

}  // namespace sweep
