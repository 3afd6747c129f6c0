// The status window's dialogs and their procedures.
#include "ui/status_dialogs.h"

#include "base/launcher.h"

namespace {

// The progress bar: WS_CHILD | WS_VISIBLE | PBS_SMOOTH, at (18, 235), 516 x 16 client
// pixels, with the control's default range of 0 to 100.
constexpr std::string_view kProgressBarClass = "msctls_progress32";
constexpr std::uint32_t kProgressBarStyle = 0x50000001;
constexpr platform::Rect kProgressBarPlace{18, 235, 18 + 516, 235 + 16};

// Centred from the top of their rectangles, neither wrapped nor clipped.
constexpr std::uint32_t kTextFormat = platform::kDtCenter | platform::kDtNoClip;

template <std::intptr_t (*Procedure)(Launcher&, platform::WindowHandle, std::uint32_t)>
std::intptr_t WithLauncher(void* context, platform::WindowHandle dialog, std::uint32_t message) {
  return Procedure(*static_cast<Launcher*>(context), dialog, message);
}

}  // namespace

platform::WindowHandle CreateStatusDialog(Launcher& l, platform::Dialog dialog) {
  const platform::DialogProcedure procedure = dialog == platform::Dialog::Splash
                                                  ? &WithLauncher<SplashDialogProc>
                                                  : &WithLauncher<VerifyDialogProc>;
  return l.os.ui.CreateDialogParam(dialog, procedure, &l);
}

Origin CenteredOrigin(int screen_width, int screen_height, int width, int height) {
  return {screen_width / 2 - width / 2, screen_height / 2 - height / 2};
}

void CenterWindow(Launcher& l, platform::WindowHandle window) {
  platform::Rect place;
  l.os.ui.GetWindowRect(window, &place);
  const int width = place.right - place.left;
  const int height = place.bottom - place.top;
  const Origin origin =
      CenteredOrigin(l.os.ui.GetSystemMetrics(platform::kSmCxScreen),
                     l.os.ui.GetSystemMetrics(platform::kSmCyScreen), width, height);
  l.os.ui.MoveWindow(window, origin.x, origin.y, width, height, true);
}

std::intptr_t SplashDialogProc(Launcher& l, platform::WindowHandle dialog, std::uint32_t message) {
  switch (message) {
    case platform::kWmInitDialog:
      CenterWindow(l, dialog);
      l.run.ProgressBar = l.os.ui.CreateWindowEx(
          kProgressBarClass, kProgressBarStyle, kProgressBarPlace.left, kProgressBarPlace.top,
          kProgressBarPlace.right - kProgressBarPlace.left,
          kProgressBarPlace.bottom - kProgressBarPlace.top, dialog);
      return 0;
    case platform::kWmPaint: {
      platform::SplashPainting painting;
      painting.background = l.run.SplashBitmap;
      painting.texts = {
          platform::TextDrawing{l.run.StatusText.view(), l.run.StatusFont, l.run.StatusRect,
                                kTextFormat},
          platform::TextDrawing{l.run.SubStatusText.view(), l.run.SubStatusFont,
                                l.run.SubStatusRect, kTextFormat},
          platform::TextDrawing{l.run.LauncherVersion.LegalCopyright.view(), l.run.SubStatusFont,
                                l.run.CopyrightRect, kTextFormat},
      };
      l.os.ui.PaintSplash(dialog, painting);
      return 0;
    }
    default:
      return 0;
  }
}

std::intptr_t VerifyDialogProc(Launcher&, platform::WindowHandle, std::uint32_t) { return 0; }
