// Detecting the VC runtimes and .NET Framework 4.8.
#include "deps/runtime_detection.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "base/launcher.h"
#include "config/registry_access.h"
#include "deps/redist_rules.h"
#include "diag/log.h"

namespace {

constexpr const char* kRuntimeX86Key = "SOFTWARE\\Microsoft\\VisualStudio\\14.0\\VC\\Runtimes\\x86";
constexpr const char* kRuntimeX86KeyOn64 =
    "SOFTWARE\\Wow6432Node\\Microsoft\\VisualStudio\\14.0\\VC\\Runtimes\\x86";
constexpr const char* kRuntimeX64Key = "SOFTWARE\\Wow6432Node\\Microsoft\\VisualStudio\\14.0\\VC\\Runtimes\\x64";
constexpr const char* kNetfxKey = "Software\\Microsoft\\NET Framework Setup\\NDP\\v4\\Full";

// Windows 10 1809 (Server 2019) and 1909, the oldest builds .NET 4.8 installs on.
constexpr std::uint32_t kServer2019Build = 17763;
constexpr std::uint32_t kWorkstation1909Build = 18363;

// The kinds of value a read asks for, as the registry access routine takes them.
constexpr std::uint32_t kAnyValue = 0;
constexpr std::uint32_t kTextValue = platform::kRegSz;
constexpr std::uint32_t kDwordValue = platform::kRegDword;

bool ReadMachineValue(Launcher& l, std::string_view key_path, std::string_view name, std::uint32_t kind,
                      void* buffer, std::uint32_t size) {
  return GetRegistryValue(l, key_path, name, &kind, buffer, &size);
}

// "Installed" of a runtime key: missing, 1, or another value.
enum class InstalledBit { Missing, True, False };

InstalledBit ReadInstalledBit(Launcher& l, const char* key_path) {
  std::uint32_t installed = 0;
  if (!ReadMachineValue(l, key_path, "Installed", kDwordValue, &installed, sizeof installed))
    return InstalledBit::Missing;
  return installed == 1 ? InstalledBit::True : InstalledBit::False;
}

}  // namespace

bool Is64BitSystem(const Launcher& l) { return l.sys.IsWow64 || l.sys.Is64BitProcess; }

bool CheckRuntimeVersion(Launcher& l, std::string_view key_path) {
  DebugLogText(l, "CheckRuntimeVersion: Validating Runtime version information.");
  char text[260] = {};
  const auto& m = kMinimumRuntimeVersion;
  if (!ReadMachineValue(l, key_path, "Version", kTextValue, text, sizeof text)) {
    DebugLog(l,
             "CheckRuntimeVersion: Minimum Version Requested: %d.%d.%d.%d, Installed Version: "
             "(Failed to retrieve value)",
             m[0], m[1], m[2], m[3]);
    return false;
  }
  const std::string version(text, strnlen(text, sizeof text));
  DebugLog(l, "CheckRuntimeVersion: Minimum Version Requested: %d.%d.%d.%d, Installed Version: %s", m[0], m[1],
           m[2], m[3], version.c_str());
  return RuntimeVersionIsCurrent(version);
}

namespace {

// The "Installed" bit of a runtime key and then its version; `check` names the records.
bool RuntimeKeyIsCurrent(Launcher& l, const char* check, const char* key) {
  switch (ReadInstalledBit(l, key)) {
    case InstalledBit::Missing:
      DebugLog(l, "%s: Validation registry key missing or access denied.", check);
      return false;
    case InstalledBit::False:
      DebugLog(l, "%s: Validation registry key exists, Install value bit is FALSE.", check);
      return false;
    case InstalledBit::True: break;
  }
  DebugLog(l, "%s: Validation registry key exists, Install value bit is TRUE.", check);
  return CheckRuntimeVersion(l, key);
}

}  // namespace

bool IsRuntime32Installed(Launcher& l) {
  return RuntimeKeyIsCurrent(l, "IsRuntime32Installed", Is64BitSystem(l) ? kRuntimeX86KeyOn64 : kRuntimeX86Key);
}

bool IsRuntime64Installed(Launcher& l) {
  return !Is64BitSystem(l) || RuntimeKeyIsCurrent(l, "IsRuntime64Installed", kRuntimeX64Key);
}

bool IsNetfx48Installed(Launcher& l) {
  std::uint32_t install = 0;
  if (!ReadMachineValue(l, kNetfxKey, "Install", kAnyValue, &install, sizeof install)) {
    DebugLogText(l, "IsNetfx48Installed: Validation registry key missing or access denied.");
    return false;
  }
  if (install != 1) {
    DebugLogText(l, "IsNetfx48Installed: Validation registry key exists, Install value bit is FALSE.");
    return false;
  }
  DebugLogText(l, "IsNetfx48Installed: Validation registry key exists, Install value bit is TRUE.");
  DebugLogText(l, "CheckNetfxReleaseNumber: Validating Framework (4.5 or newer) release number.");
  std::uint32_t release = 0;
  const bool read = ReadMachineValue(l, kNetfxKey, "Release", kAnyValue, &release, sizeof release);
  DebugLog(l, "CheckNetfxReleaseNumber: Minimum Version Release Requested: %d, Installed Version Release: %u",
           kMinimumNetfxRelease, release);
  return read && static_cast<std::int32_t>(release) >= kMinimumNetfxRelease;
}

int IsNet48Supported(Launcher& l) {
  if (!l.sys.HasVersionInfo) {
    ErrorLogText(l, "IsNet48Supported: ERROR! System Info is not available to perform this operation.");
    return kComponentUnsupported;
  }
  if (!l.sys.IsWin10OrGreater) {
    DebugLogText(l,
                 "IsNet48Supported: WARNING: To install the dependencies you must be on Windows 10 1909 or "
                 "newer, Windows 11, or Windows Server 2019 or newer.");
    return kComponentUnsupported;
  }
  const std::uint32_t minimum = l.sys.IsServer ? kServer2019Build : kWorkstation1909Build;
  return l.sys.VersionInfo.BuildNumber >= minimum ? kComponentNeedsInstall : kComponentUnsupported;
}
