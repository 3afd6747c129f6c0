// The launcher's shortcuts: the product and its diagnostic mode in the start menu,
// and the diagnostic and clear-users helpers in the application folder. All point at
// the launcher; missing ones are written, and all of them in repair mode.
#pragma once

#include <string_view>

struct Launcher;

// True when every shortcut that had to be written was written.
bool CreateHelperShortcuts(Launcher& l);

// Writes one shell link to the launcher with `arguments` and `description`.
bool CreateShortcut(Launcher& l, std::string_view link_path, std::string_view arguments,
                    std::string_view description);
