// Asking for administrator rights: each answer the rights facts give at once, and the
// elevation dialog on a simulated workstation (cancel, a refused
// consent prompt, a dialog that cannot be shown, and the elevated restart, which
// ends the run with exit code 1).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "access/elevation.h"
#include "diag/log.h"
#include "base/launcher.h"
#include "tests/support/test_text.h"
#include "tests/unit/test_machine.h"

namespace {

constexpr const char* kAdminNoElevation =
    "RequestElevatedRights: Process is invoked as admin. No elevation is necessary on this OS.";
constexpr const char* kNotAdminOldOs =
    "RequestElevatedRights: Process is NOT invoked as admin. Process must have admin privileges to proceed.";
constexpr const char* kUacOffNotAdmin =
    "RequestElevatedRights: UAC appears to be disabled, and process is NOT invoked as admin. Process must "
    "have admin privileges to proceed.";
constexpr const char* kElevated = "RequestElevatedRights: Process has UAC elevation privileges.";
constexpr const char* kAdminNotElevated =
    "RequestElevatedRights: Process DOES NOT have UAC elevation privileges, but is running as an admin. This "
    "should be OK.";
constexpr const char* kDeniedBefore =
    "RequestElevatedRights: Process DOES NOT have UAC elevation privileges and process is NOT invoked as "
    "admin. Previous elevation request was denied. Process must have admin privileges to proceed.";
constexpr const char* kWillPrompt =
    "RequestElevatedRights: Process DOES NOT have UAC elevation privileges or admin rights. We will prompt "
    "to restart with elevated status.";

// A launcher on a simulated workstation whose rights facts are set by the test.
struct ElevationRun : unit::LoggedRun {
  explicit ElevationRun(const std::string& ini = "") : LoggedRun(ini) {
    l.run.LauncherPath.assign_cut("C:\\Portavel\\Tavix.exe");
    l.sys.IsLoaded = true;
    l.sys.UserLoaded = true;
    // A clerk without administrator rights on Windows 10 with UAC.
    l.sys.IsWin7OrGreater = true;
    l.sys.IsUACEnabled = true;
  }
};

using test_support::Has;

struct NoDialogCase {
  const char* name;
  bool win7_or_newer;
  bool uac_enabled;
  bool process_elevated;
  bool admin_invoked;
  bool allowed;
  const char* record;  // null: no decision record
};

// Every answer given at once, with its record: no dialog, nothing started. The
// answers that ask are the dialog's tests below.
constexpr NoDialogCase kNoDialogCases[] = {
    {"OlderSystemStandardUser", false, true, false, false, false, kNotAdminOldOs},
    {"OlderSystemAdministrator", false, true, true, true, true, kAdminNoElevation},
    {"UacOffStandardUser", true, false, false, false, false, kUacOffNotAdmin},
    {"UacOffAdministrator", true, false, false, true, true, nullptr},
    {"Elevated", true, true, true, false, true, kElevated},
    {"AdministratorNotElevated", true, true, false, true, true, kAdminNotElevated},
};

class ElevationWithoutDialog : public ::testing::TestWithParam<NoDialogCase> {};

TEST_P(ElevationWithoutDialog, AnswersAtOnce) {
  const NoDialogCase& c = GetParam();
  ElevationRun run("[ui]\nelevation_dialog = elevate\n");
  run.l.sys.IsWin7OrGreater = c.win7_or_newer;
  run.l.sys.IsUACEnabled = c.uac_enabled;
  run.l.sys.IsProcessElevated = c.process_elevated;
  run.l.sys.AdminInvoked = c.admin_invoked;
  const int depth = run.l.log.LogNestingDepth;

  EXPECT_EQ(RequestElevatedRights(run.l), c.allowed);
  EXPECT_TRUE(run.JournalLines("ui.log").empty());
  EXPECT_TRUE(run.JournalLines("processes.log").empty());
  EXPECT_EQ(run.l.log.ErrorRecordCount, 0);
  EXPECT_EQ(run.l.log.LogNestingDepth, depth);
  const std::string debug = run.Debug();
  EXPECT_TRUE(Has(debug, "@ RequestElevatedRights() {\r\n"));
  EXPECT_TRUE(Has(debug, "@ } RequestElevatedRights\r\n"));
  if (c.record) EXPECT_TRUE(Has(debug, std::string(c.record) + "\r\n")) << debug;
  else EXPECT_FALSE(Has(debug, "RequestElevatedRights: ")) << debug;
}

INSTANTIATE_TEST_SUITE_P(Rights, ElevationWithoutDialog, ::testing::ValuesIn(kNoDialogCases), test_support::ByName);

TEST(RequestElevatedRights, CancelIsRememberedAndTheDialogNotShownAgain) {
  ElevationRun run;  // the dialog is answered with Cancel
  const int depth = run.l.log.LogNestingDepth;
  EXPECT_FALSE(RequestElevatedRights(run.l));
  EXPECT_TRUE(run.l.sys.ElevationDenied);
  EXPECT_EQ(run.JournalLines("ui.log"), std::vector<std::string>{"ELEVATE answer=cancel"});
  EXPECT_TRUE(Has(run.Debug(), std::string(kWillPrompt) + "\r\n"));
  EXPECT_TRUE(Has(run.Debug(), "CheckRights: ERROR: The user has refused elevation.\r\n"));
  EXPECT_TRUE(Has(run.ErrorText(), "RequestElevatedRights: User has denied elevation.\r\n"));
  EXPECT_EQ(run.l.log.ErrorRecordCount, 1);

  EXPECT_FALSE(RequestElevatedRights(run.l));
  EXPECT_EQ(run.JournalLines("ui.log").size(), 1u);
  EXPECT_TRUE(Has(run.Debug(), std::string(kDeniedBefore) + "\r\n"));
  EXPECT_EQ(run.l.log.ErrorRecordCount, 1);
  EXPECT_EQ(run.l.log.LogNestingDepth, depth);
}

TEST(RequestElevatedRights, ARefusedConsentShowsTheErrorBoxAndKeepsTheDialogOpen) {
  ElevationRun run("[ui]\nelevation_dialog = elevate\nconsent = no\n");
  EXPECT_FALSE(RequestElevatedRights(run.l));
  const auto ui = run.JournalLines("ui.log");
  ASSERT_EQ(ui.size(), 3u);
  EXPECT_EQ(ui[0], "ELEVATE answer=elevate");
  EXPECT_TRUE(Has(ui[1], "MESSAGEBOX ")) << ui[1];
  EXPECT_TRUE(Has(ui[1], "The application could not be spawned. Check logs for more information.")) << ui[1];
  EXPECT_EQ(ui[2], "ELEVATE answer=cancel");
  EXPECT_TRUE(run.JournalLines("processes.log").empty());
  EXPECT_TRUE(Has(run.Debug(), "ExecuteApp: ERROR: The system has refused elevation.\r\n"));
  // The error box and the refusal; the refused consent itself is no error.
  EXPECT_EQ(run.l.log.ErrorRecordCount, 2);
  EXPECT_TRUE(run.l.sys.ElevationDenied);
}

TEST(RequestElevatedRights, WithoutItsOwnPathTheElevateButtonDoesNothing) {
  ElevationRun run("[ui]\nelevation_dialog = elevate\n[fail]\nGetModuleFileName = 1\n");
  EXPECT_FALSE(RequestElevatedRights(run.l));
  EXPECT_EQ(run.JournalLines("ui.log"), (std::vector<std::string>{"ELEVATE answer=elevate", "ELEVATE answer=cancel"}));
  EXPECT_TRUE(run.JournalLines("processes.log").empty());
}

TEST(RequestElevatedRights, ADialogThatCannotBeShownLetsTheCallerGoOn) {
  ElevationRun run("[fail]\nDialogBoxParam = 1:1813\n");
  EXPECT_TRUE(RequestElevatedRights(run.l));
  EXPECT_TRUE(run.JournalLines("ui.log").empty());
  EXPECT_TRUE(Has(run.ErrorText(),
                  "RequestElevatedRights: Failed to create elevation dialog. Details: [WIN32 0x00000715/C1813] "
                  "The specified resource type cannot be found in the image file. \r\n"))
      << run.ErrorText();
  EXPECT_FALSE(run.l.sys.ElevationDenied);
}

// The restart with the command line kept is the configuration repair's test.
TEST(RequestElevatedRights, TheElevatedRestartAddsItsSwitchToAnyCommandLineAndEndsWithExitCode1) {
  const struct {
    std::string command_line;
    std::string parameters;
  } cases[] = {{"", " -el"}, {std::string(300, 'x'), std::string(259, 'x') + " -el"}};
  for (const auto& c : cases) {
    ElevationRun run("[ui]\nelevation_dialog = elevate\n");
    run.l.run.CommandLineCopy.assign_cut(c.command_line);
    try {
      RequestElevatedRights(run.l);
      ADD_FAILURE() << "RequestElevatedRights returned";
    } catch (const ProcessExit& exit) {
      EXPECT_EQ(exit.code, 1);
    }
    EXPECT_EQ(run.JournalLines("processes.log"),
              std::vector<std::string>{"SHELL verb=\"runas\" file=\"C:\\Portavel\\Tavix.exe\" params=\"" + c.parameters +
                                       "\" show=1 wait=0 result=259"});
    EXPECT_TRUE(Has(run.Debug(), "Restarting application to elevate process...\r\n"));
    EXPECT_FALSE(Has(run.Debug(), "DisposeApp"));
    EXPECT_FALSE(Has(run.Debug(), "@ } RequestElevatedRights"));
    EXPECT_EQ(run.l.log.ErrorRecordCount, 0);
  }
}

}  // namespace
