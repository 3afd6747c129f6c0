// Registry reads of the runtime check.
#include "deps/runtime_registry.h"

#include <cstring>
#include <string>

#include "base/launcher.h"
#include "diag/error_strings.h"
#include "diag/log.h"
#include "platform/error_codes.h"
#include "platform/registry.h"

namespace {

constexpr const char* kLauncherKey = "SOFTWARE\\Veltrix Solutions Inc.\\Launcher";

std::uint32_t TypeFlags(std::uint32_t kind) {
  switch (kind) {
    case kDwordValue: return platform::kRrfRtRegDword;
    case kTextValue: return platform::kRrfRtRegSz;
    default: return platform::kRrfRtAny;
  }
}

}  // namespace

bool ReadMachineValue(Launcher& l, std::string_view key_path, std::string_view name,
                      std::uint32_t kind, void* buffer, std::uint32_t size) {
  std::uint32_t read_size = size;
  const platform::ErrorCode status = l.os.registry.RegGetValue(
      platform::kHKeyLocalMachine, key_path, name, TypeFlags(kind) | platform::kRrfSubkeyWow6464Key,
      nullptr, buffer, &read_size);
  if (status == platform::kErrorSuccess) return true;
  const std::string key(key_path);
  const std::string value(name);
  ErrorDescription description;
  FormatErrorString(l, status, description);
  DebugLogLevel(l, kDeveloperLevel, "ReadMachineValue: Value \"%s\" of \"%s\" not read; %s", value.c_str(),
                key.c_str(), description.c_str());
  return false;
}

InstallerOptions ReadInstallerOptions(Launcher& l, std::string_view name) {
  char bytes[InstallerOptions::kCapacity + 1] = {};
  InstallerOptions options;
  if (ReadMachineValue(l, kLauncherKey, name, kTextValue, bytes, sizeof bytes))
    options.assign_cut(std::string_view(bytes, strnlen(bytes, sizeof bytes)));
  return options;
}
