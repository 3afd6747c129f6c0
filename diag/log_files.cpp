// Opening the logs: their paths, the debug level in force, old logs and the banner.
#include <algorithm>
#include <string>

#include "diag/log.h"
#include "diag/log_output.h"
#include "base/launcher.h"

namespace {

constexpr std::string_view kErrorLogName = "TavixError.log";
constexpr std::string_view kDebugLogName = "TavixDebug.log";
constexpr std::string_view kPreloadLogName = "TavixPreload.log";
constexpr std::size_t kBannerRuleLength = 119;

// A folder so long that the path does not fit in 259 characters leaves the path
// empty: such a file could not be opened anyway, and a cut path would name another.
void SetLogPath(PathBuffer& path, std::string_view folder, std::string_view name) {
  path.clear();
  if (!path.append(folder) || !path.append(name)) path.clear();
}

void WriteBanner(Launcher& l) {
  const LibraryVersion& version = l.run.LauncherVersion;
  const std::string rule(kBannerRuleLength, '-');
  DebugLogText(l, " ");
  DebugLog(l, "%s", rule.c_str());
  DebugLog(l, "%s v%d.%d.%d.%d", version.FileDescription.c_str(), version.Major, version.Minor,
           version.Build, version.Revision);
  DebugLogText(l, " ");
  DebugLog(l, "%s", version.LegalCopyright.c_str());
  DebugLog(l, "%s", rule.c_str());
}

}  // namespace

bool OpenLogFiles(Launcher& l, std::string_view folder) {
  LogState& log = l.log;
  SetLogPath(log.ErrorLogPath, folder, kErrorLogName);

  if (l.run.PreloadMode) {
    // A preload run always gets a fresh diagnostic log of its own; the error log
    // keeps collecting across runs.
    log.DebugLevel = kDiagnosticLevel;
    SetLogPath(log.DebugLogPath, folder, kPreloadLogName);
    DeleteLogFile(l, log.DebugLogPath);
  } else {
    SetLogPath(log.DebugLogPath, folder, kDebugLogName);
    // The switches only raise the level the registry may already have set.
    if (l.run.DeveloperDebugLogging) {
      log.DebugLevel = std::max(log.DebugLevel, kDeveloperLevel);
    } else if (l.run.DiagnosticLogging) {
      log.DebugLevel = std::max(log.DebugLevel, kDiagnosticLevel);
    }
    if (log.DebugLevel <= 0) return true;  // logging stays off; no file is touched
    if (!l.run.AppendLogFiles) {
      DeleteLogFile(l, log.ErrorLogPath);
      DeleteLogFile(l, log.DebugLogPath);
    }
  }

  log.LoggingEnabled = true;
  WriteBanner(l);
  return true;
}
