// A probe of the end-to-end tests: it starts a program through ExecuteAppEx with the
// real Windows layer, waits for it, prints "ExecuteAppEx returned N" and ends with N.
// Its debug log, TavixDebug.log, lands beside it.
//
//   execute_app_probe PROGRAM [PARAMETERS]
#include "platform/win32/windows_api.h"

#include <cstdio>
#include <string>

#include "diag/log.h"
#include "process/execute_app.h"
#include "base/launcher.h"
#include "platform/win32/win32_platform.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: execute_app_probe PROGRAM [PARAMETERS]\n");
    return 2;
  }
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length == MAX_PATH) return 2;
  std::string folder(path, length);
  folder.erase(folder.rfind('\\') + 1);

  win32::Win32Platform windows(GetModuleHandleA(nullptr));
  Launcher l(windows.platform());
  l.run.DiagnosticLogging = true;
  OpenLogFiles(l, folder);
  const std::int32_t result =
      ExecuteAppEx(l, platform::kNoWindow, argv[1], argc == 3 ? argv[2] : "", /*wait=*/true, /*hidden=*/true);
  std::printf("ExecuteAppEx returned %d\n", static_cast<int>(result));
  return result;
}
