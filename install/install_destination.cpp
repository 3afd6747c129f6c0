// Where an archive record's file goes.
#include "install/install_destination.h"

#include <string_view>

#include "install/install_rules.h"
#include "base/text_case.h"

namespace {

struct DestinationCode {
  std::string_view code;
  std::uint32_t backup_kind;
};

constexpr DestinationCode kCodes[] = {
    {"CUR", INSTALL_TO_CUR}, {"FON", INSTALL_TO_FON}, {"WIN", INSTALL_TO_WIN},
    {"SYS", INSTALL_TO_SYS}, {"S64", INSTALL_TO_SYS},
};

const PathBuffer* FolderOf(std::string_view code, const KnownFoldersList& folders,
                           bool sixty_four_bit_system) {
  if (code == "CUR") return nullptr;
  if (code == "FON") return &folders.FonDir;
  if (code == "WIN") return &folders.WinDir;
  if (code == "SYS") return sixty_four_bit_system ? &folders.SysWOW64Dir : &folders.SysDir;
  return &folders.SysDir;  // "S64": with redirection off, the native system folder
}

}  // namespace

DestinationOutcome ResolveDestination(const TABFileRecord& record, const KnownFoldersList& folders,
                                      bool sixty_four_bit_system, InstallDestination& out) {
  for (const DestinationCode& known : kCodes) {
    if (!EqualsIgnoreCase(record.Destination, known.code)) continue;
    const PathBuffer* folder = FolderOf(known.code, folders, sixty_four_bit_system);
    out.path.clear();
    if ((folder && !out.path.assign(folder->view())) || !out.path.append(record.FileName))
      return DestinationOutcome::TooLong;
    out.backup_kind = known.backup_kind;
    return DestinationOutcome::Resolved;
  }
  return DestinationOutcome::UnknownCode;
}
