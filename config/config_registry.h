// The configuration key HKLM\SOFTWARE\Veltrix Solutions Inc. in the 64-bit view: whether
// it needs repair, and the repair that creates it, turns reflection and virtualization
// off for it, opens it to Everyone and fills its Launcher subkey.
#pragma once

#include <string_view>

#include "platform/registry.h"

struct Launcher;

// True at the first finding that makes an update required. Debug records only.
bool CheckConfigRegistry(Launcher& l);

// False when the key could not be opened or created; true otherwise, also after
// error records of the later steps.
bool UpdateConfigRegistry(Launcher& l);

enum class VirtualizationOutcome { Done, Failed };

// Switches registry virtualization off for the key and everything below it.
VirtualizationOutcome RemoveRegistryKeyVirtualization(Launcher& l, platform::RegKey key,
                                                      std::string_view path);
