// Writing UsingTCache into the launcher's key in the 64-bit view.
#include "launcher/cache_in_use.h"

#include <cstdint>
#include <cstring>

#include "base/launcher.h"
#include "diag/error_strings.h"
#include "diag/log.h"
#include "platform/error_codes.h"
#include "platform/registry.h"

namespace {

constexpr const char* kLauncherKey = "SOFTWARE\\Veltrix Solutions Inc.\\Launcher";
constexpr std::uint32_t kWriteAccess = platform::kKeyWrite | platform::kKeyWow64_64Key;
constexpr std::uint32_t kCreateAccess = platform::kKeyAllAccess | platform::kKeyWow64_64Key;

}  // namespace

bool RecordCacheInUse(Launcher& l, bool cache_in_use) {
  platform::UniqueRegKey key(l.os.registry);
  platform::ErrorCode status =
      l.os.registry.RegOpenKeyEx(platform::kHKeyLocalMachine, kLauncherKey, kWriteAccess, key.receive());
  ErrorDescription description;
  if (status == platform::kErrorFileNotFound || status == platform::kErrorPathNotFound) {
    bool created = false;
    status = l.os.registry.RegCreateKeyEx(platform::kHKeyLocalMachine, kLauncherKey, kCreateAccess, key.receive(),
                                          &created);
    if (status != platform::kErrorSuccess) {
      FormatErrorString(l, status, description);
      DebugLog(l, "Tavix registry access failed: Error while creating/opening key \"%s\"; Setup may be required; %s",
               kLauncherKey, description.c_str());
      return false;
    }
  } else if (status != platform::kErrorSuccess) {
    FormatErrorString(l, status, description);
    ErrorLog(l, "Tavix registry access failed: Error while opening key \"%s\"; %s", kLauncherKey,
             description.c_str());
    return false;
  }
  const std::uint32_t value = cache_in_use ? 1 : 0;
  std::uint8_t bytes[sizeof value];
  std::memcpy(bytes, &value, sizeof value);
  status = l.os.registry.RegSetValueEx(key.get(), "UsingTCache", platform::kRegDword, bytes);
  if (status == platform::kErrorSuccess) return true;
  FormatErrorString(l, status, description);
  ErrorLog(l, "Tavix registry access failed: Error while writing key \"%s\" to \"%s\"; %s", "UsingTCache",
           kLauncherKey, description.c_str());
  return false;
}
