// The launcher reads its own keys whole (their values are named by configuration) and
// single values of the system's keys: the release name, UAC's switch and the runtimes
// it installs.
#include "snapshot/capture_registry.h"

#include <initializer_list>
#include <string>
#include <string_view>

#include "config/config_keys.h"
#include "platform/error_codes.h"

namespace snapshot {
namespace {

struct KeyRule {
  const char* path;                          // below HKEY_LOCAL_MACHINE
  std::initializer_list<const char*> names;  // empty: every value
};

const KeyRule kKeys[] = {
    {kConfigKeyPath, {}},
    {kLauncherKeyPath, {}},
    {"Software\\Microsoft\\Windows NT\\CurrentVersion", {"DisplayVersion", "ReleaseId"}},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", {"EnableLUA"}},
    {"SOFTWARE\\Microsoft\\VisualStudio\\14.0\\VC\\Runtimes\\x86", {"Installed", "Version"}},
    {"SOFTWARE\\Wow6432Node\\Microsoft\\VisualStudio\\14.0\\VC\\Runtimes\\x86",
     {"Installed", "Version"}},
    {"SOFTWARE\\Wow6432Node\\Microsoft\\VisualStudio\\14.0\\VC\\Runtimes\\x64",
     {"Installed", "Version"}},
    {"Software\\Microsoft\\NET Framework Setup\\NDP\\v4\\Full", {"Install", "Release"}},
};

// The launcher's own keys as 32-bit programs see them.
const char* const kOwnKeys[] = {kConfigKeyPath, kLauncherKeyPath};
constexpr std::string_view kSoftware = "SOFTWARE\\";

constexpr std::string_view kRootName = "HKEY_LOCAL_MACHINE\\";

// The key as security.txt names it.
std::string SecurityObject(std::string_view full_path) {
  return "HKLM\\" + std::string(full_path.substr(kRootName.size()));
}

// A missing value is no denial.
bool ReadValue(platform::Registry& registry, platform::RegKey key, std::string_view name,
               RegistryValueRecord* value, std::uint32_t* error) {
  std::uint32_t size = 0;
  *error = registry.RegQueryValueEx(key, name, &value->type, nullptr, &size);
  if (*error != 0) return false;
  value->data.assign(size, 0);
  *error = registry.RegQueryValueEx(key, name, &value->type, value->data.data(), &size);
  if (*error != 0) return false;
  value->data.resize(size);
  value->name = name;
  return true;
}

void CaptureKey(platform::Registry& registry, const char* path, std::uint32_t view,
                std::initializer_list<const char*> names, std::string full_path,
                bool reflecting_system, std::vector<RegistryKeyRecord>& keys, Denials& denials) {
  RegistryKeyRecord record;
  record.path = std::move(full_path);
  platform::UniqueRegKey key(registry);
  const std::uint32_t opened = registry.RegOpenKeyEx(platform::kHKeyLocalMachine, path,
                                                     platform::kKeyRead | view, key.receive());
  if (opened != 0) {
    if (opened == platform::kErrorFileNotFound) return;
    denials.Query("RegOpenKeyEx", opened, SecurityObject(record.path), true);
    // Only a key that exists can be denied: the replay needs it, without values.
    if (opened == platform::kErrorAccessDenied) keys.push_back(std::move(record));
    return;
  }
  bool disabled = false;
  record.reflection_off = reflecting_system &&
                          registry.RegQueryReflectionKey(key.get(), &disabled) == 0 && disabled;
  if (names.size() == 0) {
    RegistryValueRecord value;
    std::uint32_t status = 0;
    for (std::uint32_t index = 0;
         (status = registry.RegEnumValue(key.get(), index, &value.name, &value.type,
                                         &value.data)) == 0;
         ++index)
      record.values.push_back(value);
    if (status != platform::kErrorNoMoreItems)
      denials.Query("RegEnumValue", status, SecurityObject(record.path), true);
  } else {
    for (const char* name : names) {
      RegistryValueRecord value;
      std::uint32_t status = 0;
      if (ReadValue(registry, key.get(), name, &value, &status))
        record.values.push_back(value);
      else if (status != platform::kErrorFileNotFound)
        denials.Query("RegQueryValueEx", status, SecurityObject(record.path), true);
    }
  }
  keys.push_back(std::move(record));
}

}  // namespace

std::vector<RegistryKeyRecord> CaptureRegistry(platform::Registry& registry,
                                               RegistryCaptureOptions options, Denials& denials) {
  std::vector<RegistryKeyRecord> keys;
  for (const KeyRule& rule : kKeys)
    CaptureKey(registry, rule.path, platform::kKeyWow64_64Key, rule.names,
               std::string(kRootName) + rule.path, options.reflecting_system, keys, denials);
  if (options.both_views) {
    for (const char* path : kOwnKeys) {
      const std::string below = std::string(path).substr(kSoftware.size());
      CaptureKey(registry, path, platform::kKeyWow64_32Key, {},
                 std::string(kRootName) + "SOFTWARE\\WOW6432Node\\" + below,
                 options.reflecting_system, keys, denials);
    }
  }
  return keys;
}

}  // namespace snapshot
