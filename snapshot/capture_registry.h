// Reads the registry keys and values the launcher reads, and nothing else.
#pragma once

#include <vector>

#include "platform/registry.h"
#include "snapshot/denials.h"
#include "snapshot/registry_record.h"

namespace snapshot {

// The keys that exist; `both_views` adds the launcher's
// keys as the 32-bit view holds them (64-bit Windows only). Reflection is recorded
// only on a system that still reflects keys (Windows Vista): every later one answers
// "disabled" for every key. A key or value read that fails otherwise than for a
// missing key or value goes to `denials`; a denied key is kept without values.
struct RegistryCaptureOptions {
  bool both_views = false;
  bool reflecting_system = false;
};
std::vector<RegistryKeyRecord> CaptureRegistry(platform::Registry& registry,
                                               RegistryCaptureOptions options, Denials& denials);

}  // namespace snapshot
