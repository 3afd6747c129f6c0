// Preparing a backup set below the configuration location.
#include <string>

#include "base/launcher.h"
#include "diag/error_strings.h"
#include "diag/log.h"
#include "install/backup.h"
#include "install/file_checks.h"
#include "install/fs_redirection.h"
#include "platform/error_codes.h"
#include "platform/files.h"

namespace {

// What CreateDirectoryA says of a path longer than a path may be.
using platform::kErrorFilenameExcedRange;

struct BackupFolder {
  const char* sub_folder;
  PathBuffer KnownFoldersList::*field;
  const char* field_name;
};

constexpr BackupFolder kBackupFolders[] = {
    {"tcache1", &KnownFoldersList::CurrBackupDir, "CurrBackupDir"},
    {"Fonts", &KnownFoldersList::FonBackupDir, "FonBackupDir"},
    {"Windows", &KnownFoldersList::WinBackupDir, "WinBackupDir"},
    {"System32", &KnownFoldersList::SysBackupDir, "SysBackupDir"},
    {"SysWOW64", &KnownFoldersList::SysWOW64BackupDir, "SysWOW64BackupDir"},
};

void CreationFailed(Launcher& l, const PathBuffer& folder, platform::ErrorCode error) {
  ErrorDescription description;
  FormatErrorString(l, error, description);
  ErrorLog(l, "Tavix backup folder creation failed: Error while creating \"%s\"; %s",
           folder.c_str(), description.c_str());
}

// Creates the folder when it is missing; false after the failure's error record.
bool CreateMissingFolder(Launcher& l, const PathBuffer& folder) {
  if (DirectoryExists(l, folder.view())) return true;
  DebugLog(l, "PrepareForBackup: Creating \"%s\" backup folder...", folder.c_str());
  if (l.os.files.CreateDirectory(folder.view())) return true;
  CreationFailed(l, folder, l.os.system.GetLastError());
  return false;
}

}  // namespace

void PrepareForBackup(Launcher& l, std::string_view set_name) {
  TraceScope trace(l, "PrepareForBackup");
  FsRedirectionOff redirection(l);
  if (!redirection.ok()) {
    EnableFSCompatibility(l);  // switched back on every path; here it only records that it is on
    return;
  }
  const PathBuffer& location = l.folders.ProgDataDir;
  if (!DirectoryExists(l, location.view())) {
    ErrorLog(l, "Tavix backup folder creation failed: The configuration location \"%s\" is missing.",
             location.c_str());
    return;
  }
  const std::string set(set_name);
  PathBuffer base;  // the set's folder and a backslash
  if (!base.format("%s%s\\", location.c_str(), set.c_str())) {
    PathBuffer folder;
    folder.format_cut("%s%s", location.c_str(), set.c_str());
    CreationFailed(l, folder, kErrorFilenameExcedRange);
    return;
  }
  PathBuffer folder;
  (void)folder.assign(base.view().substr(0, base.size() - 1));
  if (!CreateMissingFolder(l, folder)) return;

  for (const BackupFolder& backup : kBackupFolders) {
    PathBuffer sub_base;
    PathBuffer& field = l.folders.*backup.field;
    if (sub_base.format("%s%s", base.c_str(), backup.sub_folder))
      NextNumberedFolder(l, sub_base.view(), field);
    DebugLogLevel(l, kDeveloperLevel, "PrepareForBackup: KnownFoldersList.%s is now set to \"%s\".",
                  backup.field_name, field.c_str());
    (void)CreateMissingFolder(l, field);
  }
}
