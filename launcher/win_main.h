// The launcher's run from start to end, on any platform.
#pragma once

#include <string_view>

#include "platform/platform.h"

// Runs the launcher once with `command_line` (as WinMain receives it: without the
// program's own name) and returns its exit code.
int RunLauncher(platform::Platform& os, std::string_view command_line);
