// The user part of the system information object: who runs the launcher and with
// which rights, and the records that report it.
#include <string>

#include "diag/error_strings.h"
#include "diag/log.h"
#include "lifetime/dispose_app.h"
#include "base/launcher.h"
#include "sysinfo/system_info_parts.h"
#include "sysinfo/token_query.h"
#include "sysinfo/user_rights.h"

namespace {

constexpr std::uint32_t kLowIntegrity = 0x1000;
constexpr std::uint32_t kMediumIntegrity = 0x2000;
constexpr std::uint32_t kHighIntegrity = 0x3000;

void NameIntegrityLevel(SystemInfoObject& sys) {
  const std::uint32_t level = sys.IntegrityLevel;
  if (level == kLowIntegrity)
    sys.IntegrityLevelName.assign_cut("Low");
  else if (level >= kMediumIntegrity && level < kHighIntegrity)
    sys.IntegrityLevelName.assign_cut("Medium");
  else if (level >= kHighIntegrity)
    sys.IntegrityLevelName.assign_cut("High");
}

void QueryRights(Launcher& l) {
  SystemInfoObject& sys = l.sys;
  sys.IsUserLocalAdmin = IsUserLocalAdmin(l);
  if (sys.IsWin7OrGreater) {
    // An undeterminable state counts as enabled.
    sys.IsUACEnabled = IsUACEnabled(l) != 0;
    sys.IsProcessElevated = IsProcessElevated(l);
  } else {
    sys.IsUACEnabled = false;
    sys.IsProcessElevated = false;
  }
  sys.AdminInvoked = IsAdminInvoked(l);
  sys.IntegrityLevel = ProcessIntegrityLevel(l);
  NameIntegrityLevel(sys);
}

void WriteRightsRecords(Launcher& l) {
  const SystemInfoObject& sys = l.sys;
  DebugLog(l, "Executing as \"%s\"%s", sys.UserName.c_str(),
           sys.IsUserLocalAdmin ? " who has local administrator rights."
                                : " who has local user rights.");

  if (!sys.IsWin7OrGreater) {
    DebugLog(l, "%s", sys.AdminInvoked ? "Process running invoked as administrator"
                                       : "Process running invoked as standard user");
    return;
  }
  DebugLog(l, "%s%s%s with integrity level \"%s\".",
           sys.IsProcessElevated ? "Process running elevated" : "Process running non-elevated",
           sys.IsUACEnabled ? " under UAC" : " without UAC requirements",
           sys.AdminInvoked ? " invoked as administrator" : " invoked as standard user",
           sys.IntegrityLevelName.c_str());

  if (sys.IsUACEnabled && !sys.IsProcessElevated && !sys.AdminInvoked && sys.IsUserLocalAdmin) {
    DebugLogText(
        l,
        "Note: Even though the user is an administrator, the current OS settings require "
        "that the user explicitly launch Tavix as an administrator to get full rights. Any "
        "admin requirements will prompt for elevation.");
  }
  if (sys.IsWow64) {
    DebugLogText(l,
                 "Process is eligible for WOW64 File System redirection. This redirection will be "
                 "disabled for each file operation under this environment.");
    DebugLogDetailText(l,
                       "Note: File system redirection will be disabled with DisableFSRedirection() "
                       "and enabled with EnableFSRedirection(). If the enable fails, the process "
                       "must force close per Microsoft rules.");
  } else {
    DebugLogText(l, "Process is not eligible for WOW64 File System redirection.");
  }
}

}  // namespace

void LoadUserPart(Launcher& l) {
  SystemInfoObject& sys = l.sys;
  std::string user;
  if (l.os.security.GetUserName(&user)) {
    sys.UserName.assign_cut(user);
  } else {
    sys.UserName.assign_cut("Unknown User");
    ErrorLogText(l, "Unable to retrieve user name using GetUserName().");
  }

  try {
    QueryRights(l);
  } catch (const TokenQueryFailure& failure) {
    // The launcher cannot tell what it may do without its own token: the system error
    // code of the failed call is reported and the run ends as after any critical
    // error (the critical error box, exit code 6), leaving UserLoaded false. A code of
    // its own as the exit code could not be told from the launcher's exit codes (87
    // is ERROR_INVALID_PARAMETER).
    ErrorDescription description;
    FormatErrorString(l, failure.code, description);
    ErrorLog(l,
             "LoadSystemInfoObject: *CRITICAL* Failed to query the process token (%s). The "
             "launcher cannot continue; %s",
             failure.call, description.c_str());
    AbortApplication(l);
  }

  sys.UserLoaded = true;
  WriteRightsRecords(l);
}
