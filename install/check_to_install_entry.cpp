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

// What could be learnt of the installed file.
enum class Installed { kNotLooked, kMissing, kUnreadable, kRead };

struct InstalledState {
  Installed known = Installed::kNotLooked;
  InstalledFile file;  // with kRead
};

InstalledState ReadInstalledState(Launcher& l, const std::string& destination) {
  if (!FileExist(l, destination)) return {Installed::kMissing, {}};
  FsRedirectionOff redirection(l);
  if (!redirection.ok()) return {};
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
    return {Installed::kUnreadable, {}};
  }
  InstalledState state{Installed::kRead, {}};
  state.file.size = l.os.files.GetFileSize(file, nullptr);
  platform::FileTime written = 0;
  if (l.os.files.GetFileTime(file, &written))
    (void)l.os.files.FileTimeToSystemTime(written, &state.file.time);
  CloseAndDestroyHandle(l, file, kCurrentFileLabel);
  return state;
}

// Formatted only for the debug log: an upgrade pass over an archive that is all up to
// date would otherwise spend much of its own time on texts nobody reads.
Summary SummaryOf(const std::string& destination, const InstalledState& state, const TABFileRecord& record) {
  Summary summary;
  FixedString<64> current;
  switch (state.known) {
    case Installed::kNotLooked:
      return summary;
    case Installed::kMissing:
      current.format_cut("Not Installed");
      break;
    case Installed::kUnreadable:
      current.format_cut("Unknown");
      break;
    case Installed::kRead: {
      const platform::SystemTime& c = state.file.time;
      current.format_cut("%d-%d-%d %d:%02d %d", c.month, c.day, c.year, c.hour, c.minute,
                         static_cast<int>(state.file.size));
      break;
    }
  }
  const TABFileTime& t = record.FileTime;
  summary.format_cut("\"%s\" Current File: %s,  Installer File: %d-%d-%d %d:%02d %d", destination.c_str(),
                     current.c_str(), t.Month, t.Day, t.Year, t.Hour, t.Minute, static_cast<int>(record.Size));
  return summary;
}

}  // namespace

int CheckToInstallEntry(Launcher& l, const TABFileRecord& record, std::string_view destination,
                        const TABHandle& tHnd, std::uint32_t install_type) {
  const std::string target(destination);
  {
    LogNestingScope entry(l);
    const InstalledState state = ReadInstalledState(l, target);
    const char* rule = InstallRuleName(install_type);
    if (rule && DebugLoggingOn(l))
      DebugLog(l, "CheckToInstallEntry: InstallType is %s: %s", rule, SummaryOf(target, state, record).c_str());
    const std::optional<InstalledFile> installed =
        state.known == Installed::kRead ? std::optional<InstalledFile>(state.file) : std::nullopt;
    const bool install = RuleInstalls(install_type, installed, record.FileTime, record.Size);

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
    if (installed) {
      FsRedirectionOff redirection(l);
      if (redirection.ok()) (void)l.os.files.DeleteFile(destination);
    }
  }
  return InstallEntry(l, record, destination, tHnd);
}
