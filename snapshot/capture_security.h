// Reads the security descriptors of the places the launcher checks.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace snapshot {

// (object, SDDL) of the launcher's keys and of each file or folder of `paths` that
// exists; objects named as security.txt names them.
std::vector<std::pair<std::string, std::string>> CaptureSecurity(
    platform::Platform& os, const std::vector<std::string>& paths);

// The owner, group and access list of a file or folder as SDDL, read by path.
std::optional<std::string> FileSddl(platform::Platform& os, std::string_view path);

}  // namespace snapshot
