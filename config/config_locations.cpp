// Checking the configuration locations, and repairing them behind one rights gate.
#include "config/config_locations.h"

#include <cstdint>
#include <string>

#include "access/elevation.h"
#include "base/launcher.h"
#include "config/config_files.h"
#include "config/config_registry.h"
#include "config/unrestricted_locations.h"
#include "diag/error_strings.h"
#include "diag/log.h"
#include "platform/system_info.h"
#include "sysinfo/special_folder.h"
#include "sysinfo/system_info_loader.h"

namespace {

struct RepairsNeeded {
  bool registry = false;
  bool program_data = false;
  bool cache = false;
};

void EndWithBackslash(PathBuffer& path) {
  if (path.size() <= 260 && path.back() != '\\') path.append_cut("\\");
}

bool ProgramDataNeedsRepair(Launcher& l) {
  PathBuffer path;
  if (!GetSpecialFolder(l, kFolderProgramData, path)) {
    ErrorLogText(l, "InitConfigLocations: Tavix program data folder check failed: Could not retrieve folder location.");
    return true;
  }
  return !IsFolderUnrestricted(l, path.view(), true);
}

// A cache parent inside the Windows folder is never checked.
bool CacheNeedsRepair(Launcher& l) {
  if (IsCacheParentDefaulted(l)) return false;
  PathBuffer path;
  if (!GetSpecialFolder(l, kFolderCacheParent, path)) {
    ErrorLogText(l, "InitConfigLocations: Tavix cache folder check failed: Could not retrieve folder location.");
    return true;
  }
  EndWithBackslash(path);
  path.append_cut("_tcache1");
  return !IsFolderUnrestricted(l, path.view(), false);
}

// A blocked win.ini breaks the product; it is reported, not repaired.
void ReportBlockedWinIni(Launcher& l) {
  PathBuffer path;
  if (!GetSpecialFolder(l, kFolderWindows, path)) {
    ErrorLogText(l, "InitConfigLocations: Win.ini access check failed: Could not retrieve OS folder location.");
    return;
  }
  EndWithBackslash(path);
  path.append_cut("win.ini");
  if (!IsFileUnrestricted(l, path.view()))
    ErrorLog(l, "InitConfigLocations: %s appears to be blocked. This will cause application errors if the win.ini cannot be read or written.",
             path.c_str());
}

// The one gate before every repair: administrator rights, or an elevation the user
// accepts.
bool HasAuthority(Launcher& l) {
  if (!l.sys.UserLoaded) LoadSystemInfoObject(l);
  if (l.sys.AdminInvoked) return true;
  if (!IsLoadedWin7OrGreater(l) || !l.sys.IsUACEnabled || l.sys.IsProcessElevated) return false;
  return RequestElevatedRights(l);
}

void UpdateConfigAppData(Launcher& l) {
  if (!IsLoadedWin7OrGreater(l)) {
    DebugLogText(l, "UpdateConfigAppData: Operation is invalid on this operating system. Requires Windows 7 or newer.");
    return;
  }
  DebugLogText(l, "UpdateConfigAppData: Installing/modifying file system program data location.");
  // Asked of the shell directly: the failure is this step's one record, tagged with
  // the shell's own result.
  std::string program_data;
  const std::int32_t result = l.os.system_info.SHGetKnownFolderPath(platform::KnownFolder::ProgramData, &program_data);
  if (result < 0) {
    ErrorLogWithCode(l, static_cast<std::uint32_t>(result),
                     "Tavix program data folder modification failed: Could not retrieve Program Data folder location. This operation may require rights that are being prevent by a system policy.");
    return;
  }
  PathBuffer path;
  path.assign_cut(program_data);
  path.append_cut("\\Veltrix");
  if (CreateUnrestrictedFolder(l, path.view()))
    DebugLogText(l, "UpdateConfigAppData: File system tasks completed successfully.");
  else
    ErrorLog(l, "Tavix program data folder modification failed: Error while creating/modifying \"%s\"", path.c_str());
}

void UpdateCacheFolder(Launcher& l) {
  if (!IsLoadedWin7OrGreater(l)) {
    ErrorLogText(l, "UpdateCacheFolder: Operation is invalid on this operating system. Requires Windows 7 or newer.");
    return;
  }
  DebugLogText(l, "UpdateCacheFolder: Installing/modifying file system cache data location.");
  if (IsCacheParentDefaulted(l)) {
    ErrorLog(l, "UpdateCacheFolder failed: Cache folder is being defaulted to \"%s\", and cannot be modified.",
             l.folders.TCacheParentDir.c_str());
    return;
  }
  // _tcache1 itself is made when the cache is filled.
  for (const char* below : {"Norvane", "Norvane\\Portavel"}) {
    PathBuffer path;
    path.assign_cut(l.folders.UserDir.view());
    path.append_cut(below);
    if (!CreateUnrestrictedFolder(l, path.view())) {
      ErrorLog(l, "UpdateCacheFolder failed: Error while creating/modifying \"%s\"", path.c_str());
      return;
    }
  }
  DebugLogText(l, "UpdateCacheFolder: File system tasks completed successfully.");
  RelocateConfigFiles(l);
}

void CheckAndRepair(Launcher& l) {
  if (!l.sys.IsLoaded) LoadSystemInfoObject(l);
  DebugLogText(l, "InitConfigLocations: Beginning configuration environment check.");
  RepairsNeeded needed;
  needed.registry = CheckConfigRegistry(l);
  needed.program_data = ProgramDataNeedsRepair(l);
  needed.cache = CacheNeedsRepair(l);
  ReportBlockedWinIni(l);
  const bool repair = l.run.RepairMode;
  if (!needed.registry && !needed.program_data && !needed.cache && !repair) {
    DebugLogText(l, "InitConfigLocations: Configuration environment is valid.");
    return;
  }
  if (!HasAuthority(l)) {
    ErrorLogText(l, "InitConfigLocations: Authority failure. This operation requires full administrator rights.");
    return;
  }
  if (needed.registry || repair) {
    DebugLogText(l, "InitConfigLocations: Registry updates required.");
    UpdateConfigRegistry(l);
  }
  if (needed.program_data || repair) {
    DebugLogText(l, "InitConfigLocations: File System configuration location updates required.");
    UpdateConfigAppData(l);
  }
  if (needed.cache || repair) {
    DebugLogText(l, "InitConfigLocations: File System cache location updates required.");
    UpdateCacheFolder(l);
  }
  DebugLogText(l, "InitConfigLocations: Completed configuration environment check.");
}

}  // namespace

void InitConfigLocations(Launcher& l, int mode) {
  if (mode == kConfigCheckAndRepair) return CheckAndRepair(l);
  if (mode != kConfigRelocateOnly) return;
  DebugLogText(l, "InitConfigLocations: Checking configuration.");
  if (!IsCacheParentDefaulted(l)) RelocateConfigFiles(l);
}
