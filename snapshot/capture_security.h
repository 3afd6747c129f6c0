// Reads the security descriptors of the places the launcher checks.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace snapshot {

// (object, SDDL) of the launcher's keys and of each file or folder of `paths` that
// exists; objects named as security.txt names them.
std::vector<std::pair<std::string, std::string>> CaptureSecurity(
    platform::Platform& os, const std::vector<std::string>& paths);

}  // namespace snapshot
