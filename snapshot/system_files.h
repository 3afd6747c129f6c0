// The files of the Windows, fonts and system folders the launcher compares and may
// replace: those the install archive sends there, and the COM libraries of redist\.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "snapshot/machine_record.h"

namespace snapshot {

// Their Windows paths, whether the files exist or not.
std::vector<std::string> SystemFilesTouched(platform::Platform& os, const MachineRecord& facts,
                                            std::string_view launcher_folder);

// `folder` and `name` joined; empty when the folder did not resolve.
std::string Below(std::string_view folder, std::string_view name);

// The path of a [folders] key of the facts; empty when it did not resolve.
std::string FolderOf(const MachineRecord& facts, std::string_view key);

}  // namespace snapshot
