// Resolving the known folders once per run.
#include "sysinfo/known_folders_loader.h"

#include "diag/log.h"
#include "base/launcher.h"
#include "sysinfo/special_folder.h"

namespace {

void AppendBackslash(PathBuffer& path) {
  // A path that fills the field stays without its backslash.
  if (!path.empty() && path.back() != '\\') (void)path.append("\\");
}

}  // namespace

bool LoadKnownFoldersList(Launcher& l) {
  TraceScope trace(l, "LoadKnownFoldersList");
  KnownFoldersList& f = l.folders;
  if (f.FoldersLoaded) return true;

  f.WinDir.clear();
  f.SysDir.clear();
  f.SysWOW64Dir.clear();
  f.FonDir.clear();

  // A folder that cannot be resolved keeps what it held; loading goes on.
  (void)GetSpecialFolder(l, kFolderWindows, f.WinDir);
  (void)GetSpecialFolder(l, kFolderSystem, f.SysDir);
  (void)GetSpecialFolder(l, kFolderSystemX86, f.SysWOW64Dir);
  (void)GetSpecialFolder(l, kFolderFonts, f.FonDir);
  (void)GetSpecialFolder(l, kFolderLocalAppData, f.UserDir);
  (void)GetSpecialFolder(l, kFolderStartMenuPrograms, f.StartMenuDir);
  (void)GetSpecialFolder(l, kFolderProgramData, f.ProgDataDir);
  (void)GetSpecialFolder(l, kFolderCacheParent, f.TCacheParentDir);

  for (PathBuffer* path : {&f.WinDir, &f.SysDir, &f.SysWOW64Dir, &f.FonDir, &f.UserDir,
                           &f.ProgDataDir, &f.TCacheParentDir})
    AppendBackslash(*path);

  f.FoldersLoaded = true;
  return true;
}
