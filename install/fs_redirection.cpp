// The WOW64 file-system redirection guard.
#include "install/fs_redirection.h"

#include "diag/error_strings.h"
#include "diag/log.h"
#include "lifetime/dispose_app.h"
#include "base/launcher.h"
#include "sysinfo/wow64.h"

namespace {

// The guard is first used while the launcher reads its own version, before the
// system information is loaded (and before the logs are open); it then asks the
// system itself, so that the answer and the exempt notice do not depend on the order
// in which the run reaches them.
bool ProcessRunsUnderWow64(Launcher& l) {
  return l.sys.HardwareLoaded ? l.sys.IsWow64 : IsWow64(l);
}

}  // namespace

bool DisableFSCompatibility(Launcher& l) {
  FsRedirectionState& guard = l.fs_redirection;
  if (guard.exempt) return true;
  if (guard.redirection_off) {
    DebugLogLevel(l, kDeveloperLevel,
                  "DisableFSCompatibility: WOW64 file system emulation compatibility redirection "
                  "already disabled (Token %p).",
                  guard.token);
    return true;
  }
  if (!ProcessRunsUnderWow64(l)) {
    DebugLogText(l,
                 "DisableFSCompatibility: This process is exempt from compatibility redirection. "
                 "(This notice will not be repeated)");
    guard.exempt = true;
    return true;
  }
  void* token = nullptr;
  if (!l.os.files.Wow64DisableWow64FsRedirection(&token)) {
    ErrorDescription description;
    FormatErrorString(l, l.os.system.GetLastError(), description);
    ErrorLog(l, "DisableFSCompatibility failed: Failed to disable WOW64 FS redirection; %s",
             description.c_str());
    return false;
  }
  guard.token = token;
  DebugLogLevel(l, kDeveloperLevel,
                "DisableFSCompatibility: Disabled WOW64 file system emulation compatibility "
                "redirection (Token %p).",
                guard.token);
  guard.redirection_off = true;
  return true;
}

bool EnableFSCompatibility(Launcher& l) {
  FsRedirectionState& guard = l.fs_redirection;
  if (guard.exempt) return true;
  if (!guard.redirection_off) {
    DebugLogLevel(l, kDeveloperLevel,
                  "EnableFSCompatibility: WOW64 file system emulation compatibility redirection "
                  "already enabled.");
    return true;
  }
  DebugLogLevel(l, kDeveloperLevel,
                "EnableFSCompatibility: Enabling WOW64 file system emulation compatibility "
                "redirection (Token %p).",
                guard.token);
  if (l.os.files.Wow64RevertWow64FsRedirection(guard.token)) {
    guard.redirection_off = false;
    return true;
  }
  // Every later file operation would reach redirected paths: the run must end.
  ErrorDescription description;
  FormatErrorString(l, l.os.system.GetLastError(), description);
  ErrorLog(l,
           "EnableFSCompatibility failed: *CRITICAL* Failed to re-enable WOW64 file system "
           "emulation compatibility redirection for this process. Process integrity may be "
           "compromised and application must close; %s",
           description.c_str());
  AbortApplication(l);
}

FsRedirectionOff::FsRedirectionOff(Launcher& l) : l_(l), ok_(DisableFSCompatibility(l)) {}

FsRedirectionOff::~FsRedirectionOff() noexcept(false) {
  if (!ok_ || std::uncaught_exceptions() > exceptions_at_start_) return;
  EnableFSCompatibility(l_);
}
