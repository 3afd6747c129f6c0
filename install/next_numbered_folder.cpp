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
  // An existing candidate is never taken again: every prepared set gets a number of
  // its own, so no run overwrites an earlier run's backups.
  for (int number = 1; number <= kLastNumber; ++number) {
    PathBuffer candidate;
    if (!candidate.format("%s_%03d", base_text.c_str(), number)) return;
    const platform::Handle search = l.os.files.FindFirstFile(candidate.view());
    if (search == platform::kInvalidHandle) {
      field = candidate;
      return;
    }
    l.os.files.FindClose(search);
  }
}
