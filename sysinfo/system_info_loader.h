// Loading the system information object: each of its five parts once per run, on
// demand. Every reader tests the flag of the part it needs and calls the loader when
// the flag is false.
#pragma once

struct Launcher;

// Loads whatever parts are not loaded yet; always true.
bool LoadSystemInfoObject(Launcher& l);

// Windows 7 or newer, loading the system information first when needed; a record that
// cannot be loaded counts as an older system.
bool IsLoadedWin7OrGreater(Launcher& l);
