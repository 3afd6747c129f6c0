// Walking the install archive's records.
#include "install/install_tab_file.h"

#include <string>

#include "base/launcher.h"
#include "diag/log.h"
#include "install/backup.h"
#include "install/install_destination.h"
#include "install/install_entry.h"
#include "install/install_rules.h"
#include "install/tab_file.h"
#include "sysinfo/system_folder_rule.h"
#include "sysinfo/system_info_loader.h"
#include "ui/message_boxes.h"

namespace {

// One used record at its destination; false when it could not be installed.
bool InstallRecord(Launcher& l, const TABHandle& tHnd, const TABFileRecord& record,
                   const InstallDestination& destination, std::uint32_t install_mode) {
  if (install_mode == INSTALL_REPLACE)
    return BackupFile(l, record, destination.path.view(), destination.backup_kind) &&
           InstallEntry(l, record, destination.path.view(), tHnd) == 1;
  return CheckToInstallEntry(l, record, destination.path.view(), tHnd, record.InstallType) == 1;
}

}  // namespace

void InstallTABFile(Launcher& l, std::uint32_t install_mode) {
  TABHandle tHnd;
  if (!OpenTABFile(l, tHnd)) {
    const std::string archive(kTABArchiveName);
    ShowErrorDialog(l, "Failed to open %s for installation.", archive.c_str());
    return;
  }
  if (!l.sys.HardwareLoaded) LoadSystemInfoObject(l);
  const bool sixty_four_bit_system = Uses32BitSystemFolder(l.sys);

  for (std::uint32_t i = 0; i < tHnd.FileCount; ++i) {
    const TABFileRecord& record = tHnd.Files[i];
    if (record.FileName[0] == '\0') continue;
    LogNestingScope entry(l);
    InstallDestination destination;
    const DestinationOutcome outcome =
        ResolveDestination(record, l.folders, sixty_four_bit_system, destination);
    if (outcome == DestinationOutcome::UnknownCode) continue;
    // A destination path too long for its buffer is a failed record, never a cut one.
    const bool installed = outcome == DestinationOutcome::Resolved &&
                           InstallRecord(l, tHnd, record, destination, install_mode);
    if (installed) continue;
    if (install_mode != INSTALL_REPLACE) {
      ErrorLog(l, "InstallTABFile: The attempt to install or upgrade %s has failed.", record.FileName);
      continue;
    }
    // A failed backup or copy has its own record; a path that does not fit has none yet.
    if (outcome == DestinationOutcome::TooLong)
      ErrorLog(l, "InstallTABFile: The destination path of %s is too long; the file is not replaced.",
               record.FileName);
    l.SystemFilesReplaced = false;
  }
  CloseTABFile(l, tHnd);
}
