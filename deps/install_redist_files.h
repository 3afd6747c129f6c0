// Installing the vendor runtimes the product needs (the VC runtimes and .NET
// Framework 4.8) from the installers in the redist folder beside the launcher.
#pragma once

#include <string_view>

struct Launcher;

// False only when something must be installed and administrator rights cannot be
// had; true otherwise, also when an installer is missing or fails.
bool InstallRedistFiles(Launcher& l);

// Runs one VC runtime installer, waited for: true when it was started, whatever its
// exit code; false when it is missing or could not be started.
bool InstallRuntime(Launcher& l, std::string_view display_name, std::string_view installer, int state,
                    std::string_view redist_folder, std::string_view cache_folder);
