// The product's executable path and command line, and the verdict of the start.
#include "launcher/product_launch.h"

#include "diag/log.h"
#include "launcher/instance_file.h"
#include "base/launcher.h"

namespace {

void ReportTooLong(Launcher& l) {
  ErrorLogText(l, "WinMain: The product's path or command line is longer than 259 characters; the product is not started.");
}

}  // namespace

bool BuildProductLaunch(Launcher& l, bool cache_flag, std::string_view command_line, ProductLaunch& launch) {
  bool fits = cache_flag
                  ? launch.path.format("%s_tcache1\\tsystem1.exe", l.folders.TCacheParentDir.c_str())
                  : launch.path.format("%stsystem1.exe", l.folders.CurrDir.c_str());
  launch.engine_arguments.clear();
  for (int i = 0; fits && i < l.run.EngineCommandCount; ++i) {
    if (i > 0) fits = launch.engine_arguments.append(" ");
    fits = fits && launch.engine_arguments.append(l.run.EngineCommands[i]);
  }
  if (!fits) {
    ReportTooLong(l);
    return false;
  }

  if (l.run.UsingInstanceFile) {
    if (CreateT1File(l, cache_flag, command_line, launch.instance_file)) {
      DebugLog(l, "WinMain: Using instance file, created \"%s\".", launch.instance_file.c_str());
      // The product finds the instance file's path, in quotes, as its first word.
      fits = launch.command_line.format("\"%s\" %s", launch.instance_file.c_str(),
                                        launch.engine_arguments.c_str());
      if (!fits) ReportTooLong(l);
      return fits;
    }
    DebugLogText(l, "WinMain: Using legacy command line passing.");
  }
  fits = launch.command_line.format("%s %s", l.run.LauncherPath.c_str(), launch.engine_arguments.c_str());
  if (!fits) ReportTooLong(l);
  return fits;
}

void WriteVerdict(Launcher& l, bool launched) {
  const int n = l.log.ErrorRecordCount;
  if (!launched) {
    if (n == 1) ErrorLogText(l, "*** Dovrel Launch Failed. There was 1 error during startup. ***");
    else if (n > 1) ErrorLog(l, "*** Dovrel Launch Failed. There were %d errors during startup. ***", n);
    else ErrorLogText(l, "*** Dovrel Launch Failed. ***");
    return;
  }
  if (n == 1) DebugLogText(l, "*** Dovrel Launch Successful. There was 1 non-fatal error during startup. ***");
  else if (n > 1) DebugLog(l, "*** Dovrel Launch Successful. There were %d non-fatal errors during startup. ***", n);
  else DebugLogText(l, "*** Dovrel Launch Successful. ***");
}
