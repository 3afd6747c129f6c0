// Backups of the files the launcher overwrites. A backup set is a folder below the
// configuration location (ProgDataDir) with one numbered folder per destination kind:
// <set>\tcache1_NNN, Fonts_NNN, Windows_NNN, System32_NNN and SysWOW64_NNN. The known
// folders list keeps the folders of the set prepared last.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/fixed_string.h"
#include "install/tab_file.h"

struct Launcher;

// Creates the set's folder and its five numbered folders ("backup", "backup-preload"
// or "backup-replace") and records them in the known folders list. Failures are
// error records; the run goes on.
void PrepareForBackup(Launcher& l, std::string_view set_name);

// Fills `field` with `base` followed by "_NNN", the first number from 001 to 999
// under which nothing exists or an empty folder stands; keeps its content when there
// is none or WOW64 redirection cannot be switched off.
void NextNumberedFolder(Launcher& l, std::string_view base, PathBuffer& field);

// Copies the file at `destination` into the backup folder of `backup_kind`
// (INSTALL_TO_CUR, _FON, _WIN or _SYS) under the record's file name. True when the
// caller may overwrite the file: it was copied, nothing is there, or redirection
// cannot be switched off (then the caller cannot write it either).
bool BackupFile(Launcher& l, const TABFileRecord& record, std::string_view destination,
                std::uint32_t backup_kind);

// The same for a file that comes from elsewhere than the archive, by its name.
bool BackupFile(Launcher& l, std::string_view file_name, std::string_view destination,
                std::uint32_t backup_kind);
