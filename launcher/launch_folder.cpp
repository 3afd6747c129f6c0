// The registry value LastRunFrom: where the launcher ran from last.
#include "launcher/launch_folder.h"

#include <array>
#include <cstring>

#include "diag/error_strings.h"
#include "diag/log.h"
#include "base/launcher.h"
#include "platform/error_codes.h"
#include "platform/registry.h"

namespace {

constexpr std::uint32_t kWriteAccess = platform::kKeyWrite | platform::kKeyWow64_64Key;        // 0x20106
constexpr std::uint32_t kCreateAccess = platform::kKeyAllAccess | platform::kKeyWow64_64Key;   // 0xF013F

// Opens the key for writing, creating it when it is missing; false after a record.
bool OpenLauncherKey(Launcher& l, const FixedString<1025>& key, platform::UniqueRegKey& handle) {
  auto status = l.os.registry.RegOpenKeyEx(platform::kHKeyLocalMachine, key.view(), kWriteAccess,
                                           handle.receive());
  if (status == platform::kErrorSuccess) return true;
  ErrorDescription description;
  if (status != platform::kErrorFileNotFound && status != platform::kErrorPathNotFound) {
    FormatErrorString(l, status, description);
    ErrorLog(l, "Tavix registry access failed: Error while opening key \"%s\"; %s", key.c_str(),
             description.c_str());
    return false;
  }
  bool created = false;
  status = l.os.registry.RegCreateKeyEx(platform::kHKeyLocalMachine, key.view(), kCreateAccess,
                                        handle.receive(), &created);
  if (status == platform::kErrorSuccess) return true;
  // A missing key that cannot be created is expected before setup: not an error.
  FormatErrorString(l, status, description);
  DebugLog(l, "Tavix registry access failed: Error while creating/opening key \"%s\"; Setup may be required; %s",
           key.c_str(), description.c_str());
  return false;
}

}  // namespace

void RecordLaunchFolder(Launcher& l, std::string_view key_path) {
  FixedString<1025> key;
  key.assign_cut(key_path);
  platform::UniqueRegKey handle(l.os.registry);
  bool saved = false;
  if (OpenLauncherKey(l, key, handle)) {
    // Always the whole 260-byte field: the text, its terminator and zeros.
    std::array<std::uint8_t, 260> field{};
    std::memcpy(field.data(), l.run.LauncherFolder.c_str(), l.run.LauncherFolder.size());
    const auto status = l.os.registry.RegSetValueEx(handle.get(), "LastRunFrom", platform::kRegSz, field);
    if (status == platform::kErrorSuccess) {
      saved = true;
    } else {
      ErrorDescription description;
      FormatErrorString(l, status, description);
      ErrorLog(l, "Tavix registry access failed: Error while writing key \"%s\" to \"%s\"; %s",
               key.c_str(), "LastRunFrom", description.c_str());
    }
  }
  if (!saved) DebugLogText(l, "Initialize: Warning: Failed to save working folder to registry.");
}
