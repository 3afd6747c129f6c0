// Preload mode: the system check and the archive update ahead of the day's first
// start, without starting the product.
#include "config/config_files.h"
#include "config/registry_access.h"
#include "diag/log.h"
#include "install/backup.h"
#include "install/cache_sync.h"
#include "install/register_fonts.h"
#include "install/install_rules.h"
#include "install/install_tab_file.h"
#include "lifetime/dispose_app.h"
#include "launcher/launch_steps.h"
#include "base/launcher.h"
#include "launcher/modes.h"
#include "launcher/settings_file.h"
#include "sysinfo/system_info_loader.h"
#include "ui/status_window.h"

void RunPreloadMode(Launcher& l) {
  if (!l.run.SilentMode) OpenStatusWindow(l, platform::Dialog::Splash, "Dovrel System Check");
  UpdateStatus(l, "Dovrel System Check");
  l.os.system.Sleep(kShortPause);

  ShowStep(l, "Inspecting operating system environment...", 1, kLongPause);
  {
    LogNestingScope work(l);
    LoadSystemInfoObject(l);
  }

  ShowStep(l, "Inspecting Configuration...", 10, kShortPause);
  PathBuffer settings_file;
  FixedString<10> run_local;
  {
    LogNestingScope work(l);
    RelocateLegacySettings(l);
    PrepareForBackup(l, "backup-preload");
    run_local = ReadRunLocal(l, settings_file);
  }

  ShowStep(l, "Checking for required updates...", 20, kLongPause);
  {
    LogNestingScope work(l);
    InstallTABFile(l, INSTALL_UPGRADE);
  }
  ShowStep(l, "Validating Veltrix Fonts...", 70, kShortPause);
  {
    LogNestingScope work(l);
    RegisterFonts(l);
  }
  // The preload fills the cache ahead of the day's first start when the launcher is
  // not on Windows' drive, so that UsingTCache tells whether the product runs from it.
  const bool use_cache = !OnWindowsDrive(l);
  bool cache_flag = false;
  ShowStep(l, "Validating Dovrel executables...", 80, kShortPause);
  {
    LogNestingScope work(l);
    if (IsTrue(run_local.view()) && use_cache) cache_flag = InstallTSystemFiles(l);
    else TouchTSystemFiles(l);
  }
  ShowStep(l, "Validating Dovrel Peripheral Engine files...", 80, kShortPause);
  {
    LogNestingScope work(l);
    if (IsTrue(ReadFileAccessValue(l, settings_file, "RunNPELocal").view()) && use_cache) InstallTPEFiles(l);
    else TouchTPEFiles(l);
  }
  WriteUsingTCache(l, cache_flag ? 1 : 0);

  UpdateStatus(l, "Dovrel System Ready For Use");
  l.os.system.Sleep(kShortPause);
  DisposeApp(l, 0);
}
