// Simulated workstation: where the well-known folders and the APPDATA variable are
// on the machine, from [folders] or their usual places on Windows 10.
#pragma once

#include <optional>
#include <string>

#include "platform/sim/machine.h"
#include "platform/system_info.h"

namespace sim {

// The folder's path; empty when [folders] sets it to the empty text (the folder then
// fails to resolve).
std::string KnownFolderPath(const Machine& machine, platform::KnownFolder folder);

// The APPDATA variable; nothing when [folders] appdata is empty (unset).
std::optional<std::string> AppDataVariable(const Machine& machine);

// The Windows folder the system runs from, also when [folders] windows is empty.
std::string WindowsFolder(const Machine& machine);

}  // namespace sim
