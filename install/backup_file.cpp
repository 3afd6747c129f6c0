// Backing up one file before the replace mode overwrites it.
#include <cstring>
#include <string>

#include "base/launcher.h"
#include "diag/error_strings.h"
#include "diag/log.h"
#include "install/backup.h"
#include "install/fs_redirection.h"
#include "install/install_rules.h"
#include "platform/error_codes.h"
#include "platform/files.h"
#include "sysinfo/system_folder_rule.h"
#include "ui/status_window.h"

namespace {

constexpr std::uint32_t kFailurePause = 500;
constexpr std::uint32_t kStatusPause = 150;
using platform::kErrorFilenameExcedRange;

// The backup path and the status text are kept in 261 characters.
using BackupText = FixedString<261>;

const PathBuffer* BackupFolderOf(Launcher& l, std::uint32_t backup_kind) {
  switch (backup_kind) {
    case INSTALL_TO_CUR: return &l.folders.CurrBackupDir;
    case INSTALL_TO_FON: return &l.folders.FonBackupDir;
    case INSTALL_TO_WIN: return &l.folders.WinBackupDir;
    case INSTALL_TO_SYS:
      return Uses32BitSystemFolder(l.sys) ? &l.folders.SysWOW64BackupDir : &l.folders.SysBackupDir;
    default: return nullptr;
  }
}

bool BackupFailed(Launcher& l, const std::string& destination, const BackupText& backup,
                  platform::ErrorCode error) {
  ErrorDescription description;
  FormatErrorString(l, error, description);
  ErrorLog(l, "Failed to back up file \"%s\" to %s; %s", destination.c_str(), backup.c_str(),
           description.c_str());
  l.os.system.Sleep(kFailurePause);
  return false;
}

}  // namespace

bool BackupFile(Launcher& l, const TABFileRecord& record, std::string_view destination,
                std::uint32_t backup_kind) {
  return BackupFile(l, std::string_view(record.FileName, strnlen(record.FileName, sizeof record.FileName)),
                    destination, backup_kind);
}

bool BackupFile(Launcher& l, std::string_view file_name, std::string_view destination,
                std::uint32_t backup_kind) {
  const std::string target(destination);
  const std::string name(file_name);
  const PathBuffer* folder = BackupFolderOf(l, backup_kind);
  if (folder == nullptr) {
    ErrorLog(l, "Failed to back up file \"%s\" -- This InstallType is unknown.", target.c_str());
    l.os.system.Sleep(kFailurePause);
    return false;
  }
  // A backup path that does not fit is refused: a cut one would name another file.
  BackupText backup;
  if (!backup.format("%s\\%s", folder->c_str(), name.c_str())) {
    backup.format_cut("%s\\%s", folder->c_str(), name.c_str());
    return BackupFailed(l, target, backup, kErrorFilenameExcedRange);
  }
  BackupText status;
  status.format_cut("Backing up \"%s\" to %s", name.c_str(), backup.c_str());
  UpdateSubStatus(l, status.view(), 0);
  l.os.system.Sleep(kStatusPause);

  // No set was prepared: the path would name the drive's root folder, where the
  // backups of files of one name from several folders would overwrite each other.
  // Only a file found not to be there may then be replaced.
  const bool no_set = folder->empty();
  FsRedirectionOff redirection(l);
  if (!redirection.ok()) return no_set ? BackupFailed(l, target, backup, platform::kErrorPathNotFound) : true;
  const platform::Handle search = l.os.files.FindFirstFile(destination);
  if (search == platform::kInvalidHandle) {
    // Only a file that is not there needs no backup; a search that fails otherwise
    // may hide a file that must not be overwritten without its copy.
    const platform::ErrorCode error = l.os.system.GetLastError();
    if (error == platform::kErrorFileNotFound || error == platform::kErrorPathNotFound) return true;
    return BackupFailed(l, target, backup, error);
  }
  l.os.files.FindClose(search);
  if (no_set) return BackupFailed(l, target, backup, platform::kErrorPathNotFound);

  DebugLogLevel(l, kDeveloperLevel, "BackupFile: Calling CopyFile(%s, %s, FALSE)", target.c_str(),
                backup.c_str());
  if (l.os.files.CopyFile(destination, backup.view(), false)) return true;
  return BackupFailed(l, target, backup, l.os.system.GetLastError());
}
