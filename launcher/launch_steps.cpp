// What every step of a mode does before its work.
#include "launcher/launch_steps.h"

#include "base/launcher.h"
#include "ui/status_dialogs.h"
#include "ui/status_window.h"

void ShowStep(Launcher& l, std::string_view text, int percent, std::uint32_t pause_ms) {
  UpdateSubStatus(l, text, percent);
  l.os.system.Sleep(pause_ms);
}

void OpenStatusWindow(Launcher& l, platform::Dialog dialog, std::string_view title) {
  l.run.StatusWindow = CreateStatusDialog(l, dialog);
  if (l.run.StatusWindow == platform::kNoWindow) return;
  l.os.ui.SetWindowText(l.run.StatusWindow, title);
  l.os.ui.ShowWindow(l.run.StatusWindow, platform::kSwShow);
}
