// The status window's set-up, its two lines of text and its end.
#include "ui/status_window.h"

#include "diag/log.h"
#include "base/launcher.h"
#include "platform/resource_ids.h"
#include "ui/status_fonts.h"

namespace {

// Client pixels: left, top, right, bottom.
constexpr platform::Rect kStatusRect{10, 160, 550, 180};
constexpr platform::Rect kSubStatusRect{10, 200, 550, 240};
constexpr platform::Rect kCopyrightRect{10, 260, 550, 280};

constexpr int kStatusPoints = 14;
constexpr int kSubStatusPoints = 8;

}  // namespace

void InitStatusWindow(Launcher& l) {
  const int pixels_per_inch = l.os.ui.GetDeviceCaps(platform::kLogPixelsY);
  l.run.SubStatusFont = l.os.ui.CreateFont(StatusFontRequest(kSubStatusPoints, pixels_per_inch));
  l.run.StatusFont = l.os.ui.CreateFont(StatusFontRequest(kStatusPoints, pixels_per_inch));
  l.run.StatusRect = kStatusRect;
  l.run.SubStatusRect = kSubStatusRect;
  l.run.CopyrightRect = kCopyrightRect;
  l.run.SplashBitmap = l.os.ui.LoadBitmap(IDB_SPLASH);
  l.run.StatusWindow = platform::kNoWindow;
}

void UpdateStatus(Launcher& l, std::string_view text) {
  l.run.StatusText.assign_cut(text);
  if (l.run.StatusWindow != platform::kNoWindow)
    l.os.ui.RepaintStatus(l.run.StatusWindow, l.run.StatusText.view());
  DebugLog(l, "UpdateStatus: %s", l.run.StatusText.c_str());
}

void UpdateSubStatus(Launcher& l, std::string_view text, int percent) {
  l.run.SubStatusText.assign_cut(text);
  if (l.run.StatusWindow != platform::kNoWindow)
    l.os.ui.RepaintSubStatus(l.run.StatusWindow, l.run.ProgressBar, l.run.SubStatusText.view(),
                             percent);
  DebugLog(l, "UpdateSubStatus: %s", l.run.SubStatusText.c_str());
}

void DisposeStatusWindow(Launcher& l) {
  if (l.run.StatusWindow != platform::kNoWindow) {
    l.os.ui.DestroyWindow(l.run.StatusWindow);
    // The progress bar is the window's child and went with it.
    l.run.StatusWindow = platform::kNoWindow;
    l.run.ProgressBar = platform::kNoWindow;
  }
  if (l.run.SubStatusFont != platform::kNoObject) {
    l.os.ui.DeleteObject(l.run.SubStatusFont);
    l.run.SubStatusFont = platform::kNoObject;
  }
}
