// Preparing every run before a mode is chosen.
#pragma once

#include <string_view>

struct Launcher;

// Fixes the launcher's own paths and version, splits and classifies the command
// line, takes the debug level from the registry, opens the logs and records where
// the launcher ran from. Ends the run itself on a critical failure or after the help.
void Initialize(Launcher& l, std::string_view command_line);
