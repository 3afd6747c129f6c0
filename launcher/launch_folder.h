// The registry value LastRunFrom: where the launcher ran from last.
#pragma once

#include <string_view>

struct Launcher;

// Writes LauncherFolder as LastRunFrom under the launcher key (creating the key
// when it is missing). Failures are recorded; nothing depends on the value.
void RecordLaunchFolder(Launcher& l, std::string_view key_path);
