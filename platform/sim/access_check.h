// Simulated workstation: decides whether the launcher's token may open an object
// with the access it asks for, from the object's security descriptor (SDDL).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

enum class ObjectKind { File, Folder, Key };

struct AccessToken {
  std::vector<std::string> sids;  // the user's SID and the groups of the token
};

// `sddl` is the descriptor in force; `inherited` when it is an ancestor's, so that
// only its inheritable entries apply. An SDDL without a DACL grants everything.
bool AccessAllowed(std::string_view sddl, bool inherited, ObjectKind kind,
                   const AccessToken& token, std::uint32_t desired_access);

}  // namespace sim
