// The security.txt text of captured descriptors.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace snapshot {

// One "OBJECT<TAB>SDDL" line per pair, LF line ends.
std::string SecurityText(const std::vector<std::pair<std::string, std::string>>& descriptors);

}  // namespace snapshot
