// The records that report the operating system and the processor architecture.
#include "diag/log.h"
#include "base/launcher.h"
#include "sysinfo/system_info_parts.h"
#include "sysinfo/wow64.h"

namespace {

constexpr std::uint16_t kArchitectureX86 = 0;
constexpr std::uint16_t kArchitectureX64 = 9;
constexpr std::uint16_t kArchitectureArm64 = 12;

}  // namespace

void WriteDetectionRecords(Launcher& l, bool windows7_mark) {
  const SystemInfoObject& sys = l.sys;
  const OsVersionInfo& v = sys.VersionInfo;
  const char* bitness = IsWow64(l) ? "64-bit" : "32-bit";
  DebugLog(l, "Detected Operating System: \"%s\" (%s) Version %d.%d.%d (Service Pack %d.%d)",
           sys.OSName.c_str(), bitness, static_cast<int>(v.MajorVersion),
           static_cast<int>(v.MinorVersion), static_cast<int>(v.BuildNumber), v.ServicePackMajor,
           v.ServicePackMinor);
  if (windows7_mark) {
    LogNestingScope deeper(l);
    DebugLogText(l, "*** WARNING!!! WINDOWS 7 END OF LIFE SUPPORT STATEMENT ***");
    DebugLogText(l,
                 "As of January 14, 2020, Microsoft no longer provides security updates or support "
                 "for PCs running Windows 7.");
    DebugLogText(l,
                 "Please see https://support.microsoft.com/en-us/help/4057281/"
                 "windows-7-support-ended-on-january-14-2020 for further information.");
  } else if (!sys.IsSupportedOS) {
    LogNestingScope deeper(l);
    DebugLogText(l, "WARNING!!! THIS OPERATING SYSTEM IS NOT ON THE SUPPORTED OS LIST!");
  }
}

void WriteArchitectureRecord(Launcher& l) {
  switch (l.sys.SystemInfo.ProcessorArchitecture) {
    case kArchitectureX64:
      DebugLogText(l, "Detected Architecture: x86-64");
      break;
    case kArchitectureX86:
      DebugLogText(l, "Detected Architecture: x86");
      break;
    case kArchitectureArm64:
      DebugLogText(l, "Detected Architecture: ARM-64");
      DebugLogText(l, "WARNING!!! THIS ARCHITECTURE TYPE IS NOT SUPPORTED!");
      break;
    default:
      DebugLogText(l, "Detected Architecture: Unknown");
      break;
  }
}
