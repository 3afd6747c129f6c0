// Simulated workstation: WOW64 file-system redirection, as a 32-bit process on 64-bit
// Windows meets it while redirection is on.
#pragma once

#include <string>
#include <string_view>

namespace sim {

// The path a redirected process reaches for `normal_path` (a path as
// Drives::Normalize gives it): <Windows>\System32\... is <Windows>\SysWOW64\...,
// except the sub-folders Windows leaves alone (catroot, catroot2, drivers\etc,
// driverstore, logfiles, spool); <Windows>\Sysnative\... is the real System32.
// Any other path is returned as it is.
std::string RedirectedPath(std::string_view normal_path, std::string_view windows_folder);

}  // namespace sim
