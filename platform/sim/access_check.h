// Simulated workstation: decides, as Windows does, which rights a token holds on an
// object from the object's security descriptor (SDDL).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sim/sddl.h"

namespace sim {

enum class ObjectKind { File, Folder, Key };

struct AccessToken {
  std::vector<std::string> sids;  // the user's SID and the groups of the token
};

// How far the descriptor in force is from the object: 0 its own, 1 its parent's,
// 2 or more a further ancestor's (only entries that propagate that far apply).
using InheritDepth = int;

// The rights granted when the token asks for the most it may have
// (MAXIMUM_ALLOWED): entries in order, a deny entry withholding the rights not yet
// granted, generic rights mapped for the kind of object, the owner's implicit
// READ_CONTROL and WRITE_DAC on the object's own descriptor. A null DACL grants all
// of the kind's rights, an empty one none.
std::uint32_t GrantedAccess(const Descriptor& descriptor, InheritDepth depth, ObjectKind kind,
                            const AccessToken& token);

// Specific, standard and generic rights of `mask` as the kind's specific and standard
// rights; the view flags and MAXIMUM_ALLOWED dropped.
std::uint32_t MapGenericRights(std::uint32_t mask, ObjectKind kind);

// Whether every right of `desired_access` is granted. `sddl` comes from security.txt
// or a built-in default; one the sim cannot read grants nothing.
bool AccessAllowed(std::string_view sddl, InheritDepth depth, ObjectKind kind, const AccessToken& token,
                   std::uint32_t desired_access);

}  // namespace sim
