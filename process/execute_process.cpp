// Starting the product: a process created directly, not waited for.
#include "process/execute_process.h"

#include <string>

#include "diag/error_strings.h"
#include "diag/log.h"
#include "base/launcher.h"
#include "process/start_failure_texts.h"
#include "platform/error_codes.h"
#include "sysinfo/system_info_loader.h"

std::int32_t ExecuteProcessEx(Launcher& l, std::string_view application, std::string_view command_line) {
  const std::string app(application);
  const std::string cmdline(command_line);
  if (!l.sys.IsLoaded) LoadSystemInfoObject(l);
  DebugLogText(l, "ExecuteProcessEx: Calling into CreateProcess to execute new process.");
  DebugLog(l, "ExecuteProcessEx:    -> (%s) %s %s", l.run.LauncherFolder.c_str(), app.c_str(),
           cmdline.c_str());

  platform::ProcessStart start;
  start.application = app;
  start.command_line = cmdline;
  start.current_directory = l.run.LauncherFolder.view();
  start.creation_flags = platform::kDetachedProcess | platform::kCreateNewProcessGroup;
  start.show_window = platform::kSwHide;
  platform::ProcessHandles handles;
  if (l.os.processes.CreateProcess(start, &handles)) {
    DebugLogText(l, "ExecuteProcessEx:    -> Success");
    // The product is never waited for.
    l.os.system.CloseHandle(handles.thread);
    l.os.system.CloseHandle(handles.process);
    return 0;
  }

  const platform::ErrorCode code = l.os.system.GetLastError();
  if (code != platform::kErrorCancelled)
    ErrorLogWithCode(l, code, "%s", StartFailureText(Starter::ProcessEx, code));
  ErrorDescription description;
  FormatErrorString(l, code, description);
  DebugLog(l, "ExecuteProcessEx: Failed to CreateProcess: \"%s\" %s; %s", app.c_str(), cmdline.c_str(),
           description.c_str());
  return -1;
}
