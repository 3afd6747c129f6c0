// Whether a step that changes system locations may go on: the process holds
// administrator rights, or obtains them by an elevated restart.
#pragma once

struct Launcher;

// True when the process is a member of Administrators, or when (on Windows 7 or
// newer, with UAC on and the process not elevated) the user's elevation request
// answers true. Loads the user facts first when they are missing.
bool HasInstallAuthority(Launcher& l);
