// One well-known folder of a given kind.
#include "sysinfo/special_folder.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "diag/log.h"
#include "base/launcher.h"
#include "sysinfo/system_info_loader.h"

namespace {

struct FolderKindRow {
  int kind;
  platform::KnownFolder folder;
  const char* sub_path;        // appended to the shell's path; none: nothing
  const char* failure_record;  // none: the shell's result is not tested
};

constexpr const char* kCacheSubPath = "\\Norvane\\Portavel";

constexpr FolderKindRow kKinds[] = {
    {kFolderWindows, platform::KnownFolder::Windows, nullptr,
     "GetSpecialFolder: Could not retrieve Windows folder location. This operation may require "
     "rights that are being prevent by a system policy."},
    {kFolderSystem, platform::KnownFolder::System, nullptr,
     "GetSpecialFolder: Could not retrieve OS System32 folder location. This operation may require "
     "rights that are being prevent by a system policy."},
    {kFolderSystemX86, platform::KnownFolder::SystemX86, nullptr,
     "GetSpecialFolder: Could not retrieve OS SysWOW64 folder location. This operation may require "
     "rights that are being prevent by a system policy."},
    {kFolderLocalAppData, platform::KnownFolder::LocalAppData, nullptr, nullptr},
    {kFolderStartMenuPrograms, platform::KnownFolder::Programs, "\\Veltrix Solutions", nullptr},
    {kFolderProgramData, platform::KnownFolder::ProgramData, "\\Veltrix",
     "GetSpecialFolder: Could not retrieve Program Data folder location. This operation may "
     "require rights that are being prevent by a system policy."},
    {kFolderFonts, platform::KnownFolder::Fonts, nullptr, nullptr},
    // From Windows 7 on; before it, the folder comes from the environment.
    {kFolderCacheParent, platform::KnownFolder::LocalAppData, kCacheSubPath, nullptr},
};

bool FromShell(Launcher& l, const FolderKindRow& row, PathBuffer& path) {
  std::string folder;
  const std::int32_t result = l.os.system_info.SHGetKnownFolderPath(row.folder, &folder);
  if (result < 0) {
    // For the kinds without a record the field simply stays as it was.
    if (row.failure_record != nullptr) ErrorLog(l, "%s", row.failure_record);
    return false;
  }
  // The shell's path and the sub-path together are kept to the 260 characters of
  // the folder fields.
  PathBuffer resolved;
  resolved.assign_cut(folder);
  if (row.sub_path != nullptr) resolved.append_cut(row.sub_path);
  path = resolved;
  return true;
}

// Before Windows 7 the cache parent lies under the roaming "APPDATA" folder; without
// it, the Windows folder stands in.
bool CacheParentFromEnvironment(Launcher& l, PathBuffer& path) {
  std::string appdata;
  if (l.os.system_info.GetEnvironmentVariable("APPDATA", &appdata) && !appdata.empty()) {
    PathBuffer resolved;
    resolved.assign_cut(appdata);
    resolved.append_cut(kCacheSubPath);
    path = resolved;
    return true;
  }
  (void)GetSpecialFolder(l, kFolderWindows, path);
  return false;
}

}  // namespace

bool GetSpecialFolder(Launcher& l, int kind, PathBuffer& path) {
  const auto row = std::find_if(std::begin(kKinds), std::end(kKinds),
                                [kind](const FolderKindRow& r) { return r.kind == kind; });
  if (row == std::end(kKinds)) {
    ErrorLogText(l, "Unknown folder type.");
    return false;
  }
  if (kind == kFolderCacheParent) {
    if (!l.sys.IsLoaded) LoadSystemInfoObject(l);
    if (!l.sys.IsWin7OrGreater) return CacheParentFromEnvironment(l, path);
  }
  return FromShell(l, *row, path);
}
