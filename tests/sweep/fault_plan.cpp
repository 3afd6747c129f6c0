#include "tests/sweep/fault_plan.h"

#include <algorithm>
#include <array>
#include <utility>

#include "base/text_case.h"
#include "install/cache_sync.h"
#include "tests/sweep/sample_workstation.h"

namespace sweep {
namespace {

bool Holds(const std::vector<std::string>& lines, std::string_view text) {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

// A failure the launcher handles without an error record. `place` is a text naming where
// the failure struck, among the debug records that only the faulty run wrote or in the
// failed call's line of faults.log; empty when the operation is silent wherever the
// launcher calls it.
struct Silence {
  std::string_view operation;
  std::string_view place;
  std::string_view why;
};

constexpr Silence kSilences[] = {
    {"AppendToFile", "", "a log line that cannot be written is lost without a trace"},
    {"HeapFree", "",
     "blocks released directly (the address table, a descriptor set, the argument blocks after the run) are "
     "released unchecked"},
    {"HeapAlloc", "GetNetworkAddress: Memory allocation failed", "the network inspection writes debug records only"},
    {"FormatMessage", "",
     "the first description, for the unreadable Debug value, is formatted before the logs are open; its record "
     "is counted, not written"},
    {"GetIpAddrTable", "", "the network inspection writes debug records only"},
    {"GetBestInterface", "", "the best interface's index is not checked; no row is the default then"},
    {"InetPton", "", "the network inspection writes debug records only"},
    {"InetNtop", "", "an address that cannot be shown leaves its text empty in a debug record"},
    {"GetDriveType", "", "the mapped-drive listing writes debug records only"},
    {"WNetGetConnection", "", "the mapped-drive listing writes debug records only"},
    {"GlobalMemoryStatusEx", "", "the memory totals fall back to 0"},
    {"GetProductInfo", "", "without a product code the system's name is given without its edition"},
    {"VerifyVersionInfo", "", "a version test that cannot be made counts as false"},
    {"IsWow64Process", "", "the process counts as not running under WOW64, with developer-level records"},
    {"GetModuleHandle", "", "the WOW64 and product-code look-ups fall back silently"},
    {"GetProcAddress", "", "the WOW64 and product-code look-ups fall back silently"},
    {"GetFileVersionInfoSize", "", "a version that cannot be read is 0.0.0.0"},
    {"GetFileVersionInfo", "", "a version that cannot be read is 0.0.0.0"},
    {"VerQueryValue", "", "a version that cannot be read is 0.0.0.0"},
    {"GetFileSize", "", "the installed file's size is read unchecked for the install decision"},
    {"GetFileTime", "", "the installed file's time is read unchecked for the install decision"},
    {"FileTimeToSystemTime", "", "the installed file's time is read unchecked for the install decision"},
    {"SystemTimeToFileTime", "", "an installed file's time stamp is set unchecked"},
    {"SetFileTime", "", "an installed file's time stamp is set unchecked"},
    {"GetFileAttributes", "", "a folder test reports a failure as a debug record: the folder counts as missing"},
    {"FindFirstFile", "",
     "a search that fails finds nothing: the file counts as missing, the engine's listing is empty"},
    {"FindNextFile", "", "a listing that cannot go on ends there"},
    {"FindClose", "", "closing a search is not checked"},
    {"CloseHandle", "", "closing a handle is not checked"},
    {"RegCloseKey", "", "closing a key is not checked"},
    {"DeleteFile", "", "deleting an old log, a file to be replaced or a partial copy is not checked"},
    {"GetPrivateProfileString", "", "a settings value that cannot be read takes its default"},
    {"SetCurrentDirectory", "", "the working folder is set before the logs are open"},
    {"GetModuleFileName", " v0.0.0.0",
     "without its own path the launcher reads no version, before the logs are open"},
    {"Wow64DisableWow64FsRedirection", " v0.0.0.0",
     "the launcher's own version is read before the logs are open"},
    {"SHGetKnownFolderPath", "",
     "the local, start-menu, fonts and cache folders are taken unchecked: they stay empty"},
    {"RegGetValue", "", "a value that cannot be read counts as missing"},
    {"RegOpenKeyEx", "", "a runtime's key that cannot be opened counts as not installed"},
    {"RegQueryReflectionKey", "", "the configuration check writes debug records and assumes a repair is needed"},
    {"CreateFile", "InstallHandle=0xffffffff", "a cached copy that cannot be opened counts as different and is copied again"},
    {"GetSecurityInfo", "Couldn't query security status on key",
     "the configuration check writes debug records and assumes a repair is needed"},
    {"GetFileSecurity", "IsFolderUnrestricted:",
     "the folder test reports a failure as a debug record; the folder counts as restricted"},
    {"RegEnableReflectionKey", "", "switching reflection back on is not checked"},
    {"RegSetValueEx", "", "the progress value is written unchecked"},
    {"RegCreateKeyEx", "Failed to save working folder to registry",
     "saving the working folder reports a debug record only"},
    {"SetShellLinkField", "", "a shortcut's fields are set with developer-level records only"},
    {"GetExitCodeProcess", "", "an exit code that cannot be read is 0"},
    {"AddFontResource", "", "font registration is not checked"},
    {"CreateFont", "", "the status window's fonts, window and bitmap are not checked; it paints less"},
    {"CreateWindowEx", "", "the status window's fonts, window and bitmap are not checked; it paints less"},
    {"LoadBitmap", "", "the status window's fonts, window and bitmap are not checked; it paints less"},
    {"CreateDialogParam", "", "the status window's fonts, window and bitmap are not checked; it paints less"},
    {"MessageBox", "", "a box that cannot be shown is not reported"},
};

// Whether faults.log shows a failed open of a file the cache is kept from: a product
// file in the launcher folder or a file of its tpe folder. Such a file is passed over
// without a record, neither compared with its cached copy, which stays as it is, nor
// touched in a preload.
bool CacheSourceOpenFailed(const std::vector<std::string>& failed_calls) {
  const std::string folder = "\"" + std::string(kLauncherFolder);
  if (Holds(failed_calls, folder + "tpe\\")) return true;
  const auto names = CachedFileNames();
  return std::any_of(names.begin(), names.end(),
                     [&](const char* name) { return Holds(failed_calls, folder + name + "\""); });
}

// A lost file or a difference after the next clean run that follows from a failure of
// `operation` (empty: of any operation) by design; `finding` is a text of the finding.
struct Allowance {
  std::string_view operation;
  std::string_view finding;
  std::string_view why;
};

constexpr Allowance kAllowances[] = {
    {"", "Norvane/Portavel/tavix.ini is left over",
     "a settings file relocated because its old place looked blocked is not moved back"},
    {"", "security.txt differs",
     "a folder or key a failed run secured otherwise keeps it: the next check looks at reflection and "
     "Everyone's rights only, finds them, and changes nothing"},
    {"", "registry.reg differs",
     "the configuration key is checked by its reflection and rights only; a value a failed run missed is not "
     "rewritten"},
    {"", "C/Windows/SysWOW64/tsysw64.dll is left over",
     "without WOW64 the launcher takes the system for a 32-bit one; the stray copy is not removed"},
    {"SHGetKnownFolderPath", "Z/", "an empty folder path puts files beside the launcher; they are not removed"},
    {"GetModuleFileName", "Z/",
     "shortcuts made from an empty launcher path stay; existing shortcuts are not redone"},
    {"GetModuleFileName", ".LNK has other bytes", "existing shortcuts are not redone"},
    {"SetShellLinkField", ".LNK has other bytes", "existing shortcuts are not redone"},
    {"SetFileTime", "has another time", "a file installed only when missing is never restamped"},
    {"SystemTimeToFileTime", "has another time", "a file installed only when missing is never restamped"},
    {"CreateFile", "tavix.",
     "an installed file that cannot be opened counts as missing and is installed over, without a backup"},
    {"FindFirstFile", "tavix.",
     "a file that cannot be found counts as missing and is installed over, without a backup"},
    {"Wow64DisableWow64FsRedirection", "tavix.",
     "a file whose presence cannot be checked counts as missing and is installed over, and a backup that cannot "
     "switch redirection off counts as made"},
    {"Wow64RevertWow64FsRedirection", "loses a file",
     "an upgraded file is deleted before its copy; redirection that cannot be restored then aborts the run, and "
     "the next run installs the file"},
};

}  // namespace

std::uint32_t ErrorFor(std::string_view operation) {
  // Everything else fails as Windows fails a denied file or key: error 5.
  static constexpr std::array<std::pair<std::string_view, std::uint32_t>, 10> kErrors = {{
      {"HeapAlloc", 8},
      {"LocalAlloc", 8},
      {"NtSetInformationKey", 0xC0000022},  // an NTSTATUS
      {"WriteTextFile", 13},                // the C runtime's errno
      {"GetProcAddress", 127},
      {"GetModuleHandle", 126},
      {"CloseHandle", 6},
      {"RegCloseKey", 6},
      {"WaitForSingleObject", 6},
      {"CreateProcess", 2},
  }};
  for (const auto& [name, error] : kErrors)
    if (EqualsIgnoreCase(name, operation)) return error;
  return 5;
}

bool SilentByDesign(std::string_view operation, const std::vector<std::string>& new_debug_records,
                    const std::vector<std::string>& failed_calls) {
  if (EqualsIgnoreCase(operation, "CreateFile") && CacheSourceOpenFailed(failed_calls)) return true;
  return std::any_of(std::begin(kSilences), std::end(kSilences), [&](const Silence& silence) {
    return EqualsIgnoreCase(silence.operation, operation) &&
           (silence.place.empty() || Holds(new_debug_records, silence.place) || Holds(failed_calls, silence.place));
  });
}

bool ChangeByDesign(std::string_view operation, std::string_view finding) {
  return std::any_of(std::begin(kAllowances), std::end(kAllowances), [&](const Allowance& allowance) {
    if (!allowance.operation.empty() && !EqualsIgnoreCase(allowance.operation, operation)) return false;
    return finding.find(allowance.finding) != std::string_view::npos;
  });
}

bool LossReportedByDesign(std::string_view file_name, const std::vector<std::string>& records) {
  static constexpr std::string_view kReplacementFailed[] = {
      "InstallTABFile: The attempt to install or upgrade ",
      "InstallFileName: Failed to copy ",
  };
  return std::any_of(records.begin(), records.end(), [&](const std::string& record) {
    return record.find(file_name) != std::string::npos &&
           std::any_of(std::begin(kReplacementFailed), std::end(kReplacementFailed),
                       [&](std::string_view start) { return record.rfind(start, 0) == 0; });
  });
}

std::vector<std::uint32_t> CallsToFail(std::uint32_t calls, bool all) {
  std::vector<std::uint32_t> numbers;
  if (all) {
    for (std::uint32_t n = 1; n <= calls; ++n) numbers.push_back(n);
    return numbers;
  }
  for (std::uint32_t n : {1u, (calls + 1) / 2, calls})
    if (n >= 1 && (numbers.empty() || numbers.back() != n)) numbers.push_back(n);
  return numbers;
}

}  // namespace sweep
