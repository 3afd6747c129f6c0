// UAC's state, from the EnableLUA policy value.
#include "diag/error_strings.h"
#include "diag/log.h"
#include "base/launcher.h"
#include "platform/error_codes.h"
#include "platform/registry.h"
#include "sysinfo/user_rights.h"

namespace {

constexpr const char* kPoliciesKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";

}  // namespace

int IsUACEnabled(Launcher& l) {
  platform::UniqueRegKey key(l.os.registry);
  platform::ErrorCode status = l.os.registry.RegOpenKeyEx(platform::kHKeyLocalMachine, kPoliciesKey,
                                                          platform::kKeyRead, key.receive());
  if (status != platform::kErrorSuccess) {
    ErrorLogWithCode(l, status,
                     "IsUACEnabled: ERROR: Unable to determine if UAC is active. Unable to access "
                     "registry key.");
    return -1;
  }
  DebugLogLevel(l, kDeveloperLevel, "IsUACEnabled: Obtained key successfully.");

  std::uint32_t value = 0;
  std::uint32_t size = sizeof value;
  status = l.os.registry.RegGetValue(key.get(), "", "EnableLUA", platform::kRrfRtAny, nullptr,
                                     &value, &size);
  if (status == platform::kErrorSuccess) {
    if (value > 0) {
      DebugLogLevel(l, kDeveloperLevel, "IsUACEnabled: UAC appears to be enabled on this machine.");
      return 1;
    }
    DebugLogLevel(l, kDeveloperLevel, "IsUACEnabled: UAC appears to be disabled on this machine.");
    return 0;
  }
  if (status == platform::kErrorFileNotFound) {
    DebugLogText(l,
                 "IsUACEnabled: WARNING: UAC Registry key does not exist. This may be ok on older "
                 "non-UAC Windows systems.");
    return 0;
  }
  ErrorLogWithCode(l, status,
                   "IsUACEnabled: ERROR: Unable to determine if UAC is active. Unable to retrieve "
                   "registry value.");
  return -1;
}
