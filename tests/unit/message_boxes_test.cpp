// The two shared error boxes on a simulated workstation: their captions, texts and
// styles as the user sees them, and what happens when a string, the memory or the
// box itself is missing.
#include <gtest/gtest.h>

#include <string>

#include "diag/log.h"
#include "base/launcher.h"
#include "tests/unit/test_machine.h"
#include "ui/message_boxes.h"

namespace {

using unit::TestMachine;

std::string UiLog(const TestMachine& m) { return m.Text("ui.log"); }

TEST(ErrorDialog, ShowsCaptionHeadingBlankLineAndMessageTopmostAndRecordsIt) {
  unit::LoggedRun run("", unit::kDiagnostic);
  ShowErrorDialog(run.l, "Failed to open %s for installation.", "tsystem0.dll");
  EXPECT_EQ(run.Journal("ui.log"),
            "MESSAGEBOX caption=\"Portavel\" style=0x00050010 text=\"An error has occurred:\\n\\n"
            "Failed to open tsystem0.dll for installation.\" answer=ok\n");
  EXPECT_EQ(run.Errors(),
            std::vector<std::string>{"Error Dialog: An error has occurred:; Failed to open tsystem0.dll for installation."});
}

TEST(ErrorDialog, WithoutMemoryOrABoxNothingIsShown) {
  // Without memory for the message no record is written either; a box that cannot be
  // shown is not reported, and the record stays.
  for (const auto& [ini, records] : {std::pair{"[fail]\nHeapAlloc = 1:8\n", 0}, std::pair{"[fail]\nMessageBox = 1\n", 1}}) {
    TestMachine m(ini);
    Launcher l(m.platform());
    ShowErrorDialog(l, "Failed to open %s for installation.", "tsystem0.dll");
    EXPECT_EQ(UiLog(m), "") << ini;
    EXPECT_EQ(l.log.ErrorRecordCount, records) << ini;
  }
}

TEST(ErrorDialog, ALongMessageIsCutToTheBoxBuffer) {
  TestMachine m;
  Launcher l(m.platform());
  ShowErrorDialog(l, "%s", std::string(3000, 'x').c_str());
  const std::string log = UiLog(m);
  // "An error has occurred:" and the blank line take 24 of the 2,047 characters.
  EXPECT_NE(log.find(std::string(2047 - 24, 'x') + "\" answer=ok"), std::string::npos);
  EXPECT_EQ(log.find(std::string(2047 - 23, 'x')), std::string::npos);
}

// The critical box's fixed texts; strings that cannot be loaded leave their parts empty.
TEST(MessageBoxes, ShowTheirStringsOrNothingWhereAStringIsMissing) {
  const struct {
    const char* ini;
    bool critical;
    const char* shown;  // the ui.log line
  } cases[] = {
      {"", true,
       "MESSAGEBOX caption=\"Portavel\" style=0x00010010 text=\"An error has occurred:\\n\\nA critical failure has "
       "occurred and Portavel must close. Please review logs for details.\" answer=ok\n"},
      {"[fail]\nLoadString = 1, 2, 3\n", true, "MESSAGEBOX caption=\"\" style=0x00010010 text=\"\\n\\n\" answer=ok\n"},
      {"[fail]\nLoadString = 1, 2\n", false,
       "MESSAGEBOX caption=\"\" style=0x00050010 text=\"\\n\\nFailed to open tsystem0.dll for installation.\" "
       "answer=ok\n"},
  };
  for (const auto& c : cases) {
    unit::LoggedRun run(c.ini, unit::kDiagnostic);
    if (c.critical) ShowCriticalErrorBox(run.l);
    else ShowErrorDialog(run.l, "Failed to open %s for installation.", "tsystem0.dll");
    EXPECT_EQ(run.Journal("ui.log"), c.shown) << c.ini;
    // The critical box writes no record; the error box its message after the missing heading.
    EXPECT_EQ(run.Errors(), c.critical ? std::vector<std::string>{}
                                       : std::vector<std::string>{"Error Dialog: ; Failed to open tsystem0.dll for "
                                                                  "installation."}) << c.ini;
  }
}

}  // namespace
