// Simulated workstation: the keys under HKLM\SOFTWARE that 64-bit Windows (7 and
// later) shares between its 32-bit and 64-bit registry views. A 32-bit view reaches
// every other key of HKLM\SOFTWARE under WOW6432Node; a shared key has one copy,
// seen alike from both views.
#pragma once

#include <string_view>

namespace sim {

// Whether the key at `below_software`, a path below HKLM\SOFTWARE ("Microsoft\Windows
// \CurrentVersion\Policies\System"), is shared. A key takes the rule of its nearest
// listed ancestor.
bool IsSharedSoftwareKey(std::string_view below_software);

}  // namespace sim
