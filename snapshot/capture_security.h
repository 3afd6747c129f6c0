// Reads the security descriptors of the places the launcher checks.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "snapshot/denials.h"

namespace snapshot {

// (object, SDDL) of the launcher's keys and of each file or folder of `paths` that
// exists; objects named as security.txt names them. A descriptor that cannot be read
// goes to `denials`.
std::vector<std::pair<std::string, std::string>> CaptureSecurity(
    platform::Platform& os, const std::vector<std::string>& paths, Denials& denials);

// The owner, group and access list of a file or folder as SDDL, read by path;
// `read_error` receives the error when the descriptor cannot be read.
std::optional<std::string> FileSddl(platform::Platform& os, std::string_view path,
                                    std::uint32_t* read_error = nullptr);

}  // namespace snapshot
