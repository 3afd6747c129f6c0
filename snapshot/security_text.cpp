#include "snapshot/security_text.h"

namespace snapshot {

std::string SecurityText(const std::vector<std::pair<std::string, std::string>>& descriptors) {
  std::string out = "; descriptors captured from the workstation\n";
  for (const auto& [object, sddl] : descriptors) out += object + "\t" + sddl + "\n";
  return out;
}

}  // namespace snapshot
