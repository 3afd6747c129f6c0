// Checking and repairing the configuration key.
#include "config/config_registry.h"

#include <array>
#include <cstring>

#include "access/rights_check.h"
#include "base/launcher.h"
#include "config/config_keys.h"
#include "config/unrestricted_locations.h"
#include "diag/error_strings.h"
#include "diag/log.h"
#include "platform/error_codes.h"
#include "platform/security.h"
#include "sysinfo/system_info_loader.h"

namespace {

// KEY_ALL_ACCESS in the 64-bit view, so that the 32-bit launcher reaches the key
// 64-bit programs see.
constexpr std::uint32_t kKeyAccess = kRegCreateAccess;
constexpr std::uint32_t kOwnerGroupDacl = platform::kOwnerSecurityInformation |
                                          platform::kGroupSecurityInformation |
                                          platform::kDaclSecurityInformation;
// REG_KEY_DONT_VIRTUALIZE and REG_KEY_RECURSE_FLAG.
constexpr std::uint32_t kNoVirtualizationRecursive = 0x2 | 0x8;

using KeyPath = FixedString<1024>;

ErrorDescription Describe(Launcher& l, std::uint32_t code,
                          ErrorCodeKind kind = ErrorCodeKind::Win32) {
  ErrorDescription description;
  FormatErrorString(l, code, description, kind);
  return description;
}

// The finding of an open key: reflection first, then Everyone's rights.
bool KeyNeedsUpdate(Launcher& l, platform::RegKey key, const KeyPath& path, bool win7) {
  if (win7) {
    bool disabled = false;
    if (const auto code = l.os.registry.RegQueryReflectionKey(key, &disabled)) {
      DebugLog(l, "CheckConfigRegistry: Couldn't query reflection status on key \"HKLM\\%s\"; (%s); assuming update is required.",
               path.c_str(), Describe(l, code).c_str());
      return true;
    }
    if (!disabled) {
      DebugLog(l, "CheckConfigRegistry: Reflection not disabled on key \"HKLM\\%s\"; update is required.", path.c_str());
      return true;
    }
  }
  void* dacl = nullptr;
  void* descriptor = nullptr;
  if (const auto code = l.os.registry.GetKeySecurityInfo(key, kOwnerGroupDacl, &dacl, &descriptor)) {
    DebugLog(l, "CheckConfigRegistry: Couldn't query security status on key \"HKLM\\%s\"; (%s); assuming update is required.",
             path.c_str(), Describe(l, code).c_str());
    return true;
  }
  const RightsCheckResult result = CheckEveryoneRightsInRegistry(l, descriptor);
  l.os.security.LocalFree(descriptor);
  if (result == RightsCheckResult::Error) {
    DebugLog(l, "CheckConfigRegistry: Couldn't validate Everyone access on key \"HKLM\\%s\"; assuming update is required.", path.c_str());
    return true;
  }
  if (result == RightsCheckResult::False) {
    DebugLog(l, "CheckConfigRegistry: Everyone does not have full access to key \"HKLM\\%s\"; update is required.", path.c_str());
    return true;
  }
  DebugLog(l, "CheckConfigRegistry: Registry key \"HKLM\\%s\" is validated. No update is required.", path.c_str());
  return false;
}

void WriteDword(Launcher& l, platform::RegKey key, std::string_view name, std::uint32_t value,
                platform::ErrorCode* result) {
  std::array<std::uint8_t, 4> data{};
  std::memcpy(data.data(), &value, data.size());
  *result = l.os.registry.RegSetValueEx(key, name, platform::kRegDword, data);
}

// "Debug" = 0 and "LastRunFrom" = the launcher's folder as 260 NUL-padded bytes; both
// writes are attempted.
void FillLauncherKey(Launcher& l, platform::RegKey company) {
  platform::UniqueRegKey launcher(l.os.registry);
  if (const auto code = l.os.registry.RegCreateKeyEx(company, "Launcher", kKeyAccess,
                                                     launcher.receive(), nullptr)) {
    ErrorLog(l, "Tavix registry modification failed: Error while creating key \"HKLM\\SOFTWARE\\%s\\Launcher\"; %s",
             kConfigCompanyName, Describe(l, code).c_str());
    return;
  }
  platform::ErrorCode code = 0;
  WriteDword(l, launcher.get(), "Debug", 0, &code);
  if (code)
    ErrorLog(l, "Tavix registry modification error: Error while writing configuration subkey \"Debug\" default value; %s",
             Describe(l, code).c_str());
  std::array<std::uint8_t, 260> folder{};
  const std::string_view text = l.run.LauncherFolder.view();
  std::memcpy(folder.data(), text.data(), std::min(text.size(), folder.size() - 1));
  if (const auto set = l.os.registry.RegSetValueEx(launcher.get(), "LastRunFrom", platform::kRegSz, folder))
    ErrorLog(l, "Tavix registry modification error: Error while writing configuration subkey \"LastRunFrom\"; %s",
             Describe(l, set).c_str());
}

}  // namespace

bool CheckConfigRegistry(Launcher& l) {
  DebugLogText(l, "CheckConfigRegistry: Checking registry configuration key.");
  const bool win7 = IsLoadedWin7OrGreater(l);
  KeyPath path;
  path.assign_cut(kConfigKeyPath);
  platform::UniqueRegKey key(l.os.registry);
  const auto opened = l.os.registry.RegOpenKeyEx(platform::kHKeyLocalMachine, path.view(), kKeyAccess,
                                                 key.receive());
  if (opened == platform::kErrorFileNotFound) {
    DebugLog(l, "CheckConfigRegistry: Key \"HKLM\\%s\" does not exist; update is required.", path.c_str());
    return true;
  }
  if (opened != 0) {
    DebugLog(l, "CheckConfigRegistry: Couldn't open key \"HKLM\\%s\"; (%s); assuming update is required.",
             path.c_str(), Describe(l, opened).c_str());
    return true;
  }
  return KeyNeedsUpdate(l, key.get(), path, win7);
}

VirtualizationOutcome RemoveRegistryKeyVirtualization(Launcher& l, platform::RegKey key,
                                                      std::string_view key_path) {
  if (!IsLoadedWin7OrGreater(l)) {
    DebugLogLevel(l, 100, "RemoveRegistryKeyVirtualization: Function failed. This function requires Windows 7 or newer operating system.");
    return VirtualizationOutcome::Done;
  }
  if (!l.sys.UserLoaded) LoadSystemInfoObject(l);
  KeyPath path;
  path.assign_cut(key_path);
  if (!l.sys.AdminInvoked) {
    ErrorLog(l, "Tavix registry modification failed: Administrative rights are required to open/modify virtualization for key \"%s\"",
             path.c_str());
    return VirtualizationOutcome::Done;
  }
  DebugLog(l, "RemoveRegistryVirtualization: Removing virtualization flag on registry key \"%s\" (as Administrator)", path.c_str());
  std::uint32_t status = 0;
  const auto call = l.os.registry.NtSetKeyControlFlags(key, kNoVirtualizationRecursive, &status);
  // Without ntdll in the process there is nothing to call, and nothing to report.
  if (call == platform::Registry::NtCall::NoModule) return VirtualizationOutcome::Done;
  if (call == platform::Registry::NtCall::NoFunction) {
    ErrorLog(l, "Tavix registry modification failed: Error while loading ntdll:NtSetInformationKey proc address; %s",
             Describe(l, l.os.system.GetLastError()).c_str());
    return VirtualizationOutcome::Failed;
  }
  if (status != 0) {
    ErrorLog(l, "Tavix registry modification failed: Error while executing ntdll:NtSetInformationKey; %s",
             Describe(l, status, ErrorCodeKind::NtStatus).c_str());
    return VirtualizationOutcome::Failed;
  }
  return VirtualizationOutcome::Done;
}

bool UpdateConfigRegistry(Launcher& l) {
  DebugLogText(l, "UpdateConfigRegistry: Installing/modifying registry configuration key.");
  const bool win7 = IsLoadedWin7OrGreater(l);
  KeyPath path;
  path.assign_cut(kConfigKeyPath);
  platform::Registry& registry = l.os.registry;
  platform::UniqueRegKey software(registry);
  if (const auto code = registry.RegOpenKeyEx(platform::kHKeyLocalMachine, "SOFTWARE", kKeyAccess,
                                              software.receive())) {
    ErrorLog(l, "Tavix registry modification failed: Error while opening key \"HKLM\\SOFTWARE\"; %s",
             Describe(l, code).c_str());
    return false;
  }
  if (win7) {
    if (const auto code = registry.RegDisableReflectionKey(software.get())) {
      ErrorLog(l, "Tavix registry modification failed: Error while disabling reflection on handle for key \"HKLM\\SOFTWARE\"; %s",
               Describe(l, code).c_str());
      return false;
    }
  }
  platform::UniqueRegKey company(registry);
  if (const auto code = registry.RegCreateKeyEx(software.get(), kConfigCompanyName, kKeyAccess,
                                                company.receive(), nullptr)) {
    ErrorLog(l, "Tavix registry modification failed: Error while opening key \"HKLM\\SOFTWARE\\%s\"; %s",
             kConfigCompanyName, Describe(l, code).c_str());
    registry.RegEnableReflectionKey(software.get());
    return false;
  }
  if (win7) {
    if (const auto code = registry.RegDisableReflectionKey(company.get())) {
      ErrorLog(l, "Tavix registry modification failed: Error while disabling reflection on handle for key \"HKLM\\SOFTWARE\\%s\"; %s",
               kConfigCompanyName, Describe(l, code).c_str());
      company.reset();
      registry.RegEnableReflectionKey(software.get());
      return false;
    }
  }
  // The progress of the repair, kept in the key for the support staff.
  std::uint32_t progress = 1;
  if (win7) {
    DebugLogText(l, "UpdateConfigRegistry: Removing registry key virtualization.");
    if (RemoveRegistryKeyVirtualization(l, company.get(), path.view()) == VirtualizationOutcome::Done) {
      progress = 2;
      DebugLogText(l, "UpdateConfigRegistry: Removing registry key security.");
      if (RemoveRegistryKeySecurity(l, company.get(), path.view()) != 0) progress = 3;
    }
  }
  platform::ErrorCode ignored = 0;
  WriteDword(l, company.get(), "_icode", progress, &ignored);
  FillLauncherKey(l, company.get());
  if (win7) registry.RegEnableReflectionKey(software.get());
  company.reset();
  software.reset();
  DebugLogText(l, "UpdateConfigRegistry: Registry tasks completed successfully.");
  return true;
}
