// The numbered folder of a backup set.
#include "install/backup.h"

#include <string>

#include "base/launcher.h"
#include "install/fs_redirection.h"
#include "platform/files.h"

namespace {

constexpr int kLastNumber = 999;

}  // namespace

void NextNumberedFolder(Launcher& l, std::string_view base, PathBuffer& field) {
  FsRedirectionOff redirection(l);
  if (!redirection.ok()) return;
  const std::string base_text(base);
  // An existing folder that is still empty is taken again, so the daily starts that
  // back nothing up keep one folder instead of using up the numbers; a folder holding
  // backups (or anything else, or one that cannot be read) is kept and skipped, so no
  // run overwrites an earlier run's backups.
  for (int number = 1; number <= kLastNumber; ++number) {
    PathBuffer candidate;
    if (!candidate.format("%s_%03d", base_text.c_str(), number)) return;
    const platform::Handle search = l.os.files.FindFirstFile(candidate.view());
    if (search != platform::kInvalidHandle) l.os.files.FindClose(search);
    if (search == platform::kInvalidHandle || l.os.files.PathIsDirectoryEmpty(candidate.view())) {
      field = candidate;
      return;
    }
  }
}
