// A machine folder of the running workstation: machine.ini, registry.reg,
// security.txt and the files the launcher touches under drives/.
#pragma once

#include <string_view>

#include "platform/platform.h"
#include "snapshot/snapshot_output.h"

namespace snapshot {

// `launcher_path` is the launcher's Windows path ("C:\Portavel\Tavix.exe"). False when
// one of the three description files could not be written; files that cannot be
// read are reported and left out.
bool TakeSnapshot(platform::Platform& os, std::string_view launcher_path, SnapshotOutput& out);

}  // namespace snapshot
