// The release name of Windows, read from the registry.
#include "sysinfo/code_name.h"

#include <cstring>
#include <string>

#include "diag/error_strings.h"
#include "diag/log.h"
#include "base/launcher.h"
#include "platform/error_codes.h"
#include "platform/registry.h"

namespace {

constexpr const char* kCurrentVersionKey = "Software\\Microsoft\\Windows NT\\CurrentVersion";
constexpr std::uint32_t kValueBytes = 32;

}  // namespace

bool GetCurrentVersionValue(Launcher& l, std::string_view value_name, CodeNameText& value) {
  platform::UniqueRegKey key(l.os.registry);
  platform::ErrorCode status =
      l.os.registry.RegOpenKeyEx(platform::kHKeyLocalMachine, kCurrentVersionKey,
                                 platform::kKeyRead | platform::kKeyWow64_64Key, key.receive());
  if (status != platform::kErrorSuccess) {
    ErrorDescription description;
    FormatErrorString(l, status, description);
    ErrorLog(l, "Registry access failed: Error while opening key \"%s\"; %s", kCurrentVersionKey,
             description.c_str());
    return false;
  }
  char bytes[kValueBytes] = {};
  std::uint32_t size = kValueBytes;
  const std::string name(value_name);
  status =
      l.os.registry.RegGetValue(key.get(), "", name, platform::kRrfRtAny, nullptr, bytes, &size);
  if (status == platform::kErrorFileNotFound || status == platform::kErrorPathNotFound)
    return false;
  if (status != platform::kErrorSuccess) {
    ErrorDescription description;
    FormatErrorString(l, status, description);
    ErrorLog(l, "Registry access failed: Error while reading key \"%s\" from \"%s\"; %s",
             name.c_str(), kCurrentVersionKey, description.c_str());
    return false;
  }
  value.assign_cut(std::string_view(bytes, strnlen(bytes, kValueBytes)));
  return true;
}

bool ReadCodeName(Launcher& l, CodeNameText& code_name) {
  CodeNameText value;
  if (!GetCurrentVersionValue(l, "DisplayVersion", value) || value.empty()) {
    value.clear();
    (void)GetCurrentVersionValue(l, "ReleaseId", value);
  }
  if (value.empty()) return false;
  code_name = value;
  return true;
}
