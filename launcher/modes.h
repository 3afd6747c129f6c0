// The launcher's four modes. Each ends the run through DisposeApp.
#pragma once

#include <string_view>

struct Launcher;

[[noreturn]] void RunListMode(Launcher& l);
[[noreturn]] void RunReplaceMode(Launcher& l);
[[noreturn]] void RunPreloadMode(Launcher& l);
// `command_line` is the launcher's own, for the instance file.
[[noreturn]] void RunStandardStart(Launcher& l, std::string_view command_line);
