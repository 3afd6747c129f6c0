// Deciding by a record's install rule whether its file is to be installed.
#include <optional>
#include <string>

#include "access/install_authority.h"
#include "base/launcher.h"
#include "diag/error_strings.h"
#include "diag/log.h"
#include "install/file_checks.h"
#include "install/fs_redirection.h"
#include "install/install_entry.h"
#include "install/install_rule.h"
#include "install/scoped_release.h"
#include "platform/files.h"

namespace {

constexpr const char* kCurrentFileLabel = "CurrentFile";

// The summary of the installed file and the record, in 260 characters; a longer one
// is cut.
using Summary = FixedString<260>;

struct InstalledState {
  std::optional<InstalledFile> file;  // nothing: no file, or none that could be read
  Summary summary;
};

InstalledState ReadInstalledState(Launcher& l, const TABFileRecord& record,
                                  const std::string& destination) {
  InstalledState state;
  const TABFileTime& t = record.FileTime;
  if (!FileExist(l, destination)) {
    state.summary.format_cut("\"%s\" Current File: Not Installed,  Installer File: %d-%d-%d %d:%02d %d",
                             destination.c_str(), t.Month, t.Day, t.Year, t.Hour, t.Minute,
                             static_cast<int>(record.Size));
    return state;
  }
  FsRedirectionOff redirection(l);
  if (!redirection.ok()) return state;
  platform::Handle file = l.os.files.CreateFile(destination, platform::kGenericRead,
                                                platform::kFileShareRead, platform::kOpenExisting,
                                                platform::kFileAttributeNormal);
  const platform::ErrorCode open_error = l.os.system.GetLastError();
  DebugLogLevel(l, kDeveloperLevel, "CheckToInstallEntry: Obtained file handle: %p",
                reinterpret_cast<void*>(file));
  if (file == platform::kInvalidHandle) {
    ErrorDescription description;
    FormatErrorString(l, open_error, description);
    ErrorLog(l, "CheckToInstallEntry: An error occured attempting to open source file \"%s\"; %s",
             destination.c_str(), description.c_str());
    state.summary.format_cut("\"%s\" Current File: Unknown,  Installer File: %d-%d-%d %d:%02d %d",
                             destination.c_str(), t.Month, t.Day, t.Year, t.Hour, t.Minute,
                             static_cast<int>(record.Size));
    return state;
  }
  InstalledFile installed;
  installed.size = l.os.files.GetFileSize(file, nullptr);
  platform::FileTime written = 0;
  if (l.os.files.GetFileTime(file, &written))
    (void)l.os.files.FileTimeToSystemTime(written, &installed.time);
  CloseAndDestroyHandle(l, file, kCurrentFileLabel);
  const platform::SystemTime& c = installed.time;
  state.summary.format_cut(
      "\"%s\" Current File: %d-%d-%d %d:%02d %d,  Installer File: %d-%d-%d %d:%02d %d",
      destination.c_str(), c.month, c.day, c.year, c.hour, c.minute,
      static_cast<int>(installed.size), t.Month, t.Day, t.Year, t.Hour, t.Minute,
      static_cast<int>(record.Size));
  state.file = installed;
  return state;
}

}  // namespace

int CheckToInstallEntry(Launcher& l, const TABFileRecord& record, std::string_view destination,
                        const TABHandle& tHnd, std::uint32_t install_type) {
  const std::string target(destination);
  {
    LogNestingScope entry(l);
    const InstalledState state = ReadInstalledState(l, record, target);
    if (const char* rule = InstallRuleName(install_type))
      DebugLog(l, "CheckToInstallEntry: InstallType is %s: %s", rule, state.summary.c_str());
    const bool install = RuleInstalls(install_type, state.file, record.FileTime, record.Size);

    LogNestingScope decision(l);
    if (!install) {
      DebugLogText(l, "CheckToInstallEntry: This entry is installed and up-to-date.");
      return 1;
    }
    DebugLog(l, "CheckToInstallEntry: Installing/Upgrading %s...", target.c_str());
    if (!HasInstallAuthority(l)) {
      ErrorLogText(l,
                   "CheckToInstallEntry: Tavix Entry install failed: Authority failure. You must "
                   "be an administrator.");
      return 0;
    }
    if (state.file) {
      FsRedirectionOff redirection(l);
      if (redirection.ok()) (void)l.os.files.DeleteFile(destination);
    }
  }
  return InstallEntry(l, record, destination, tHnd);
}
