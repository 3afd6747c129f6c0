// The registry value LastRunFrom: where the launcher ran from last.
#include "launcher/launch_folder.h"

#include <array>
#include <cstring>

#include "config/registry_access.h"
#include "diag/error_strings.h"
#include "diag/log.h"
#include "base/launcher.h"
#include "platform/error_codes.h"
#include "platform/registry.h"

void RecordLaunchFolder(Launcher& l, std::string_view key_path) {
  FixedString<1025> key;
  key.assign_cut(key_path);
  platform::UniqueRegKey handle(l.os.registry);
  bool saved = false;
  if (OpenLauncherKeyForWriting(l, handle)) {
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
