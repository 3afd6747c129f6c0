// The folders the launcher works with, resolved once per run.
#pragma once

#include "base/fixed_string.h"

struct KnownFoldersList {
  bool FoldersLoaded = false;
  PathBuffer CurrDir;  // the launcher's folder, trailing backslash
  PathBuffer WinDir;
  PathBuffer SysDir;
  PathBuffer SysWOW64Dir;
  PathBuffer StartMenuDir;
  PathBuffer UserDir;
  PathBuffer FonDir;
  PathBuffer ProgDataDir;
  PathBuffer TCacheParentDir;
  PathBuffer CurrBackupDir;
  PathBuffer FonBackupDir;
  PathBuffer SysBackupDir;
  PathBuffer SysWOW64BackupDir;
  PathBuffer WinBackupDir;
};
