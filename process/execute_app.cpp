// Starting programs through the shell.
#include "process/execute_app.h"

#include "diag/error_strings.h"
#include "diag/log.h"
#include "base/launcher.h"
#include "process/start_failure_texts.h"
#include "process/wait_results.h"
#include "platform/error_codes.h"
#include "sysinfo/system_info_loader.h"

namespace {

// No working folder is set; the record shows the C runtime's text for a missing string.
constexpr const char* kNoWorkingFolder = "(null)";

// The shell's process handle, closed on every way out; the callers never use it.
class ShellProcess {
 public:
  ShellProcess(Launcher& l, platform::Handle process) : l_(l), process_(process) {}
  ~ShellProcess() { l_.os.system.CloseHandle(process_); }
  ShellProcess(const ShellProcess&) = delete;
  ShellProcess& operator=(const ShellProcess&) = delete;

  // The exit code now, or 0 when it cannot be read.
  std::int32_t ExitCode() const {
    std::uint32_t exit_code = 0;
    if (!l_.os.processes.GetExitCodeProcess(process_, &exit_code)) return 0;
    return static_cast<std::int32_t>(exit_code);
  }

  std::uint32_t Wait(std::uint32_t milliseconds) const {
    return l_.os.processes.WaitForSingleObject(process_, milliseconds);
  }

 private:
  Launcher& l_;
  platform::Handle process_;
};

}  // namespace

std::int32_t ExecuteAppEx(Launcher& l, platform::WindowHandle owner, std::string_view file,
                          std::string_view parameters, bool wait, bool hidden) {
  platform::ShellStart start;
  start.owner = owner;
  start.file = file;
  start.parameters = parameters;
  start.show = hidden ? platform::kSwHide : platform::kSwShowNormal;
  // Every supported system asks for elevation, with the consent prompt where the
  // user is not elevated yet.
  const bool loaded = l.sys.IsLoaded || LoadSystemInfoObject(l);
  if (loaded && l.sys.IsWin7OrGreater) {
    DebugLogText(l, "Added \"runas\" verb.");
    start.verb = "runas";
  }

  DebugLogText(l, "ExecuteAppEx: Calling into ShellExecuteEx to spawn process.");
  DebugLog(l, "ExecuteAppEx:    -> (%s) %.*s %.*s", kNoWorkingFolder, static_cast<int>(file.size()),
           file.data(), static_cast<int>(parameters.size()), parameters.data());
  platform::Handle handle = 0;
  if (!l.os.shell.ShellExecuteEx(start, &handle)) {
    const platform::ErrorCode code = l.os.system.GetLastError();
    // A refused consent prompt is the user's choice, not an error of the run.
    if (code == platform::kErrorCancelled)
      DebugLogText(l, "ExecuteApp: ERROR: The system has refused elevation.");
    else
      ErrorLogWithCode(l, code, "%s", StartFailureText(Starter::AppEx, code));
    return -1;
  }
  if (handle == 0) return 0;
  const ShellProcess process(l, handle);
  if (!wait) return process.ExitCode();

  const WaitOutcome& outcome = WaitOutcomeOf(process.Wait(kAppWaitMilliseconds));
  if (outcome.is_error) ErrorLog(l, "%s", outcome.record);
  else DebugLog(l, "%s", outcome.record);
  return outcome.has_exit_code ? process.ExitCode() : outcome.result;
}
