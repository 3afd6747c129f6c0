// The standard start: check and repair the workstation, then start the product.
#include "deps/install_com_files.h"
#include "deps/install_redist_files.h"
#include "diag/log.h"
#include "install/backup.h"
#include "install/cache_sync.h"
#include "install/register_fonts.h"
#include "install/install_rules.h"
#include "install/install_tab_file.h"
#include "lifetime/dispose_app.h"
#include "process/execute_process.h"
#include "launcher/launch_steps.h"
#include "base/launcher.h"
#include "launcher/modes.h"
#include "launcher/product_launch.h"
#include "launcher/shortcuts.h"
#include "launcher/settings_file.h"
#include "sysinfo/system_info_loader.h"
#include "ui/status_window.h"

namespace {

constexpr int kProductNotStarted = 110;

}  // namespace

void RunStandardStart(Launcher& l, std::string_view command_line) {
  DebugLogText(l, "WinMain: Standard Start.");
  if (!l.run.SilentMode) OpenStatusWindow(l, platform::Dialog::Splash, "Initializing Dovrel");

  UpdateStatus(l, l.run.RepairMode ? "Initializing Dovrel (Repair Mode)..." : "Initializing Dovrel...");
  l.os.system.Sleep(kShortPause);

  ShowStep(l, "Inspecting operating system environment...", 1, kLongPause);
  {
    LogNestingScope work(l);
    LoadSystemInfoObject(l);
  }

  ShowStep(l, "Validating Configuration...", 10, kShortPause);
  PathBuffer settings_file;
  FixedString<10> run_local;
  {
    LogNestingScope work(l);
    PrepareForBackup(l, "backup");
    run_local = ReadRunLocal(l, settings_file);
  }

  ShowStep(l, "Checking for required updates...", 20, kLongPause);
  {
    LogNestingScope work(l);
    InstallTABFile(l, INSTALL_UPGRADE);
  }
  ShowStep(l, "Validating Dependencies...", 30, kShortPause);
  {
    LogNestingScope work(l);
    InstallRedistFiles(l);
  }
  ShowStep(l, "Validating COM Assemblies...", 50, kShortPause);
  {
    LogNestingScope work(l);
    InstallCOMFiles(l);
  }
  ShowStep(l, "Validating Veltrix Fonts...", 70, kShortPause);
  {
    LogNestingScope work(l);
    RegisterFonts(l);
  }
  ShowStep(l, "Validating Dovrel executables...", 80, kShortPause);
  bool cache_flag = false;  // the product runs from the cache copy
  {
    LogNestingScope work(l);
    if (IsTrue(run_local.view())) {
      LogNestingScope cache(l);
      cache_flag = InstallTSystemFiles(l);
    }
    CreateHelperShortcuts(l);
  }
  ShowStep(l, "Validating Dovrel Peripheral Engine files...", 90, kShortPause);
  {
    LogNestingScope work(l);
    if (IsTrue(ReadFileAccessValue(l, settings_file, "RunNPELocal").view())) {
      LogNestingScope cache(l);
      InstallTPEFiles(l);
    }
  }

  ShowStep(l, "Preparing to launch...", 100, kShortPause);
  ProductLaunch launch;
  bool prepared;
  {
    LogNestingScope work(l);
    prepared = BuildProductLaunch(l, cache_flag, command_line, launch);
  }

  ShowStep(l, "Launching Dovrel Please Wait...", 100, kShortPause);
  bool launched = false;
  {
    LogNestingScope work(l);
    launched = prepared && ExecuteProcessEx(l, launch.path.view(), launch.command_line.view()) == 0;
  }

  WriteVerdict(l, launched);
  l.os.system.Sleep(kVerdictPause);
  DisposeApp(l, launched ? 0 : kProductNotStarted);
}
