// Where an archive record's file goes, and into which backup folder the replace mode
// copies the file it overwrites.
#pragma once

#include <cstdint>

#include "base/fixed_string.h"
#include "base/known_folders.h"
#include "install/tab_file.h"

struct InstallDestination {
  PathBuffer path;            // folder followed by the file name; "CUR" files relative
  std::uint32_t backup_kind;  // INSTALL_TO_CUR, _FON, _WIN or _SYS
};

enum class DestinationOutcome { Resolved, UnknownCode, TooLong };

// Resolves the record's destination code, without regard to case: "CUR" the current
// folder, "FON" FonDir, "WIN" WinDir, "SYS" SysWOW64Dir on a 64-bit system and SysDir
// on a 32-bit one, "S64" SysDir. A path longer than 259 characters is refused, not cut:
// a cut path would name another file.
DestinationOutcome ResolveDestination(const TABFileRecord& record, const KnownFoldersList& folders,
                                      bool sixty_four_bit_system, InstallDestination& out);
