// One well-known folder of a given kind, resolved on demand.
#pragma once

#include "base/fixed_string.h"

struct Launcher;

// The kinds of folders, as KnownFoldersList keeps them.
enum FolderKind : int {
  kFolderWindows = 0,
  kFolderSystem = 1,
  kFolderSystemX86 = 2,
  kFolderLocalAppData = 3,
  kFolderStartMenuPrograms = 4,  // followed by "\Veltrix Solutions"
  kFolderProgramData = 5,        // followed by "\Veltrix"
  kFolderFonts = 6,
  kFolderCacheParent = 7,  // followed by "\Norvane\Portavel"
};

// The folder of the kind into `path`, without a trailing backslash (unless the
// system gives one): true when it was resolved. On false `path` is left as it was,
// except for the cache parent before Windows 7 without "APPDATA", which writes the
// Windows folder. The kinds whose failure matters write an error record.
bool GetSpecialFolder(Launcher& l, int kind, PathBuffer& path);
