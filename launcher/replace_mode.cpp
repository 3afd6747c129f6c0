// Replace mode: every file of the archive overwritten behind a small window, the
// outcome reported in a message box.
#include "install/backup.h"
#include "install/install_rules.h"
#include "install/install_tab_file.h"
#include "lifetime/dispose_app.h"
#include "base/launcher.h"
#include "launcher/modes.h"
#include "platform/resource_ids.h"
#include "ui/status_dialogs.h"

namespace {

constexpr int kReplaceIncomplete = 1627;

}  // namespace

void RunReplaceMode(Launcher& l) {
  // The window is shown in silent mode too.
  l.run.StatusWindow = CreateStatusDialog(l, platform::Dialog::Verify);
  if (l.run.StatusWindow != platform::kNoWindow) {
    CenterWindow(l, l.run.StatusWindow);
    l.os.ui.SetWindowText(l.run.StatusWindow, "Replace system files");
    l.os.ui.ShowWindow(l.run.StatusWindow, platform::kSwShow);
    l.os.ui.SetDlgItemText(l.run.StatusWindow, IDC_VERIFY_TEXT, "Replacing files...");
  }

  PrepareForBackup(l, "backup-replace");
  InstallTABFile(l, INSTALL_REPLACE);

  const int exit_code = l.SystemFilesReplaced ? 0 : kReplaceIncomplete;
  l.os.ui.MessageBox(platform::kNoWindow,
                     l.SystemFilesReplaced
                         ? "System files successfully replaced!"
                         : "Not all system files could be replaced.\nCheck replace.log for details.",
                     l.run.LauncherPath.view(), platform::kMbTopmost | platform::kMbSetForeground);
  DisposeApp(l, exit_code);
}
