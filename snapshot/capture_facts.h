// Reads the workstation's facts: system, processor, user and token, folders, network.
#pragma once

#include <string_view>

#include "platform/platform.h"
#include "snapshot/denials.h"
#include "snapshot/machine_record.h"

namespace snapshot {

// The facts of the running system; `launcher_path` is the launcher's Windows path.
// A query that fails leaves its fact at the record's default; a failed query of the
// process token goes to `denials`.
MachineRecord CaptureFacts(platform::Platform& os, std::string_view launcher_path,
                           Denials& denials);

}  // namespace snapshot
