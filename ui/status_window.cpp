// The status window's two lines of text.
#include "ui/status_window.h"

#include "diag/log.h"
#include "launcher/launcher.h"

void UpdateStatus(Launcher& l, std::string_view text) {
  l.run.StatusText.assign_cut(text);
  if (l.run.StatusWindow != platform::kNoWindow)
    l.os.ui.RepaintStatus(l.run.StatusWindow, l.run.StatusText.view());
  DebugLog(l, "UpdateStatus: %s", l.run.StatusText.c_str());
}

void UpdateSubStatus(Launcher& l, std::string_view text, int percent) {
  l.run.SubStatusText.assign_cut(text);
  if (l.run.StatusWindow != platform::kNoWindow)
    l.os.ui.RepaintSubStatus(l.run.StatusWindow, l.run.SubStatusText.view(), percent);
  DebugLog(l, "UpdateSubStatus: %s", l.run.SubStatusText.c_str());
}

void DisposeStatusWindow(Launcher& l) {
  if (l.run.StatusWindow == platform::kNoWindow) return;
  l.os.ui.DestroyWindow(l.run.StatusWindow);
  l.run.StatusWindow = platform::kNoWindow;
}
