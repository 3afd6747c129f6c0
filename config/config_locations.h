// The three places every workstation user must be able to write (the configuration
// key, the program-data folder and the cache folder), checked and repaired once per
// run, and the legacy settings files copied out of the Windows folder.
#pragma once

struct Launcher;

enum ConfigLocationsMode : int {
  kConfigCheckAndRepair = 0,  // the standard start
  kConfigRelocateOnly = 1,    // the preload
};

// Never aborts the run: every finding and failure is a record. A repair that needs
// administrator rights may restart the launcher elevated, and then does not return.
void InitConfigLocations(Launcher& l, int mode);
