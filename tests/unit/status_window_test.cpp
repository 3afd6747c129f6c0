// The status window on a simulated workstation: fonts scaled to the screen, the
// splash dialog's start, painting and progress bar, and its end.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <tuple>
#include <vector>

#include "base/launcher.h"
#include "platform/sim/sim_user_interface.h"
#include "tests/unit/test_machine.h"
#include "ui/status_dialogs.h"
#include "ui/status_fonts.h"
#include "ui/status_window.h"

namespace {

using unit::TestMachine;

sim::SimUserInterface& SimUi(TestMachine& m) {
  return dynamic_cast<sim::SimUserInterface&>(m.platform().ui);
}

std::string Describe(const platform::Rect& r) {
  return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
         std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

// A launcher whose status window is set up and, unless told otherwise, its splash
// dialog started.
struct StatusRun {
  explicit StatusRun(const std::string& ini = "", bool splash = true) : m(ini), l(m.platform()), ui(SimUi(m)) {
    l.run.LauncherVersion.LegalCopyright.assign_cut("Copyright (C) 2026 Veltrix Solutions Inc.");
    InitStatusWindow(l);
    if (splash) l.run.StatusWindow = CreateStatusDialog(l, platform::Dialog::Splash);
  }
  TestMachine m;
  Launcher l;
  sim::SimUserInterface& ui;
};

struct MulDivCase {
  std::int32_t a, b, c, expected;
};
constexpr MulDivCase kMulDivCases[] = {
    {8, 120, 72, 13}, {-1, 1, 2, -1}, {5, -3, 2, -8},          {-5, -3, 2, 8},
    {7, 1, 0, -1},    {INT_MAX, 2, 1, -1}, {INT_MAX, 1, 1, INT_MAX}, {INT_MIN, 1, 1, -1},
};

TEST(MulDiv, RoundsHalvesAwayFromZeroAndRefusesWhatDoesNotFit) {
  for (const auto& row : kMulDivCases)
    EXPECT_EQ(MulDiv(row.a, row.b, row.c), row.expected)
        << "MulDiv(" << row.a << ", " << row.b << ", " << row.c << ")";
}

struct FontCase {
  int dpi;
  int small_height;
  int large_height;
};
constexpr FontCase kFontCases[] = {{96, -11, -19}, {144, -16, -28}};

TEST(StatusFonts, AreVerdanaScaledToTheScreensPixelsPerInch) {
  for (const auto& row : kFontCases) {
    StatusRun run("[machine]\ndpi = " + std::to_string(row.dpi) + "\n", false);
    const auto* small = run.ui.FindFont(run.l.run.SubStatusFont);
    const auto* large = run.ui.FindFont(run.l.run.StatusFont);
    ASSERT_TRUE(small && large) << row.dpi;
    EXPECT_EQ(std::tie(small->request.height, large->request.height, small->face),
              std::make_tuple(row.small_height, row.large_height, std::string("Verdana"))) << row.dpi;
  }
}

struct CentreCase {
  int screen_width, screen_height, width, height, x, y;
};
constexpr CentreCase kCentreCases[] = {
    {1366, 768, 551, 281, 408, 244},     // each half truncated on its own
    {800, 600, 1000, 700, -100, -50},    // larger than the screen: starts off it
};

TEST(CenterWindow, HalvesScreenAndWindowSeparately) {
  for (const auto& row : kCentreCases) {
    const Origin origin = CenteredOrigin(row.screen_width, row.screen_height, row.width, row.height);
    EXPECT_EQ(std::tie(origin.x, origin.y), std::tie(row.x, row.y)) << row.screen_width << " " << row.width;
  }
}

TEST(SplashDialog, StartsCentredWithItsProgressBar) {
  StatusRun run;
  ASSERT_NE(run.l.run.StatusWindow, platform::kNoWindow);
  ASSERT_NE(run.l.run.ProgressBar, platform::kNoWindow);
  // The simulated screen is 1920 x 1080 and the splash window 550 x 280.
  EXPECT_EQ(Describe(run.ui.WindowPlace(run.l.run.StatusWindow).value()), "(685, 400, 1235, 680)");
  EXPECT_EQ(Describe(run.ui.WindowPlace(run.l.run.ProgressBar).value()), "(18, 235, 534, 251)");
  EXPECT_EQ(run.ui.ProgressPosition(run.l.run.ProgressBar), 0);
}

TEST(SplashDialog, PaintsBackgroundThenTheThreeLinesCentredAndUnclipped) {
  StatusRun run;
  const Launcher& l = run.l;
  UpdateStatus(run.l, "Initializing Dovrel...");
  UpdateSubStatus(run.l, "Inspecting operating system environment...", 1);
  EXPECT_EQ(run.ui.Paintings(), 2);
  const auto& painting = run.ui.LastPainting();
  ASSERT_TRUE(painting.has_value());
  EXPECT_EQ(painting->background, l.run.SplashBitmap);
  // Each line centred and unclipped (DT_CENTER | DT_NOCLIP).
  std::vector<std::string> texts;
  for (const auto& text : painting->texts)
    texts.push_back(text.text + " " + std::to_string(text.font == l.run.StatusFont) + Describe(text.area) + " " +
                    std::to_string(text.format));
  EXPECT_EQ(texts, (std::vector<std::string>{
                       "Initializing Dovrel... 1(10, 160, 550, 180) 257",
                       "Inspecting operating system environment... 0(10, 200, 550, 240) 257",
                       "Copyright (C) 2026 Veltrix Solutions Inc. 0(10, 260, 550, 280) 257"}));
}

TEST(SplashDialog, PercentZeroKeepsTheBarAndALongTextIsCut) {
  StatusRun run;
  UpdateSubStatus(run.l, "Validating Dependencies...", 30);
  EXPECT_EQ(run.ui.ProgressPosition(run.l.run.ProgressBar), 30);
  UpdateSubStatus(run.l, "Backing up \"a.dll\" to C:\\backup", 0);
  EXPECT_EQ(run.ui.ProgressPosition(run.l.run.ProgressBar), 30);
  EXPECT_EQ(run.ui.LastPainting()->texts[1].text, "Backing up \"a.dll\" to C:\\backup");
  UpdateSubStatus(run.l, std::string(5000, 'w'), 40);
  EXPECT_EQ(run.ui.LastPainting()->texts[1].text, std::string(2047, 'w'));
}

TEST(StatusWindow, DisposeDestroysTheWindowAndDeletesOnlyTheSmallFont) {
  StatusRun run;
  const platform::WindowHandle window = run.l.run.StatusWindow;
  const platform::WindowHandle bar = run.l.run.ProgressBar;
  const platform::GdiObject small = run.l.run.SubStatusFont;
  const platform::GdiObject large = run.l.run.StatusFont;
  DisposeStatusWindow(run.l);
  EXPECT_EQ(run.l.run.StatusWindow, platform::kNoWindow);
  EXPECT_FALSE(run.ui.WindowPlace(window).has_value());
  EXPECT_FALSE(run.ui.WindowPlace(bar).has_value());
  EXPECT_EQ(run.ui.FindFont(small), nullptr);
  EXPECT_NE(run.ui.FindFont(large), nullptr);
}

TEST(VerifyDialog, IsCentredAndHasNoProgressBar) {
  StatusRun run("", false);
  Launcher& l = run.l;
  l.run.StatusWindow = CreateStatusDialog(l, platform::Dialog::Verify);
  ASSERT_NE(l.run.StatusWindow, platform::kNoWindow);
  EXPECT_EQ(l.run.ProgressBar, platform::kNoWindow);
  CenterWindow(l, l.run.StatusWindow);
  const platform::Rect place = run.ui.WindowPlace(l.run.StatusWindow).value();
  EXPECT_EQ(std::tie(place.left, place.top),
            std::make_tuple(1920 / 2 - (place.right - place.left) / 2, 1080 / 2 - (place.bottom - place.top) / 2));
  // Status calls only repaint it: the dialog manager draws its fixed line.
  UpdateSubStatus(l, "Backing up", 10);
  EXPECT_EQ(run.ui.Paintings(), 0);
  EXPECT_EQ(VerifyDialogProc(l, l.run.StatusWindow, platform::kWmPaint), 0);
  EXPECT_EQ(VerifyDialogProc(l, l.run.StatusWindow, platform::kWmInitDialog), 0);
}

}  // namespace
