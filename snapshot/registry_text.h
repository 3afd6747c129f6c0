// The regedit export text of captured keys.
#pragma once

#include <string>
#include <vector>

#include "snapshot/registry_record.h"

namespace snapshot {

// The keys in the order given, each with its values; CR LF line ends.
std::string RegistryText(const std::vector<RegistryKeyRecord>& keys);

}  // namespace snapshot
