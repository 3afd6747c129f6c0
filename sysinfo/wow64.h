// Whether the launcher's process runs under WOW64.
#pragma once

struct Launcher;

// True when the system says the current process runs under WOW64; false, with a
// developer record, when kernel32, its IsWow64Process or the call fails.
bool IsWow64(Launcher& l);
