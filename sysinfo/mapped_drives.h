// The network drives of the machine, listed in the debug log so that support staff
// can tell whether the product was started from a share.
#pragma once

struct Launcher;

// One record per network drive letter with its remote name, "None." when there is
// none. Called by Initialize only.
void ListMappedDrives(Launcher& l);
