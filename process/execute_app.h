// Starting installers, the registration utility and the launcher's elevated restart
// through the shell: elevated on Windows 7 or newer, optionally waited for.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/types.h"

struct Launcher;

// The longest wait for a program: five minutes.
inline constexpr std::uint32_t kAppWaitMilliseconds = 300000;

// -1 when the program could not be started (reported; a refused consent prompt only
// as a debug record) or the wait failed. Otherwise, with `wait`, the program's exit
// code, or 0 when it outlasts the wait; without, its exit code at once (259,
// STILL_ACTIVE, while it runs). 0 when the shell gives no process to ask.
std::int32_t ExecuteAppEx(Launcher& l, platform::WindowHandle owner, std::string_view file,
                          std::string_view parameters, bool wait, bool hidden);
