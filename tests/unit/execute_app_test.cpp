// Programs started through the shell on a simulated workstation: elevation by verb,
// every start failure, refused consent, waits that end, time out or fail, and the
// processes.log lines of what was started.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "diag/log.h"
#include "process/execute_app.h"
#include "base/launcher.h"
#include "process/wait_results.h"
#include "platform/processes.h"
#include "tests/support/test_text.h"
#include "tests/unit/test_machine.h"

namespace {

constexpr const char* kInstaller = "C:\\Portavel\\redist\\vc_redist.x86.exe";

// A Windows 10 machine whose facts are loaded, with the installer on its drive.
struct AppRun : unit::LoggedRun {
  explicit AppRun(const std::string& ini = "", bool win7_or_newer = true) : LoggedRun(ini, unit::kDiagnostic) {
    l.sys.IsLoaded = true;
    l.sys.UserLoaded = true;
    l.sys.IsWin7OrGreater = win7_or_newer;
    machine.WriteC("Portavel/redist/vc_redist.x86.exe", "MZ");
  }

  std::vector<std::string> Processes() const { return JournalLines("processes.log"); }
  // Milliseconds the machine's clock has moved since the run began (within a day).
  int Elapsed() {
    const platform::LocalTime t = l.os.system.GetLocalTime();
    return (((t.hour - 8) * 60 + t.minute - 30) * 60 + t.second) * 1000 + t.milliseconds;
  }
};

using test_support::Has;

struct StartFailure {
  const char* name;
  std::uint32_t code;
  const char* record;
};

constexpr StartFailure kStartFailures[] = {
    {"FileNotFound", 2,
     "ExecuteApp: ERROR: The process has failed to start. The specified file was not found.; [WIN32 0x00000002/C0002]"},
    {"PathNotFound", 3,
     "ExecuteApp: ERROR: The process has failed to start. The specified path was not found.; [WIN32 0x00000003/C0003]"},
    {"AccessDenied", 5,
     "ExecuteApp: ERROR: The process has failed to start. Permission to access the specified file is denied.; [WIN32 0x00000005/C0005]"},
    {"NotEnoughMemory", 8,
     "ExecuteApp: ERROR: The process has failed to start. There is not enough memory to perform the specified action.; [WIN32 0x00000008/C0008]"},
    {"SharingViolation", 32,
     "ExecuteApp: ERROR: The process has failed to start. A sharing violation occurred.; [WIN32 0x00000020/C0032]"},
    {"NoAssociation", 1155,
     "ExecuteApp: ERROR: The process has failed to start. There is no application associated with the specified file name extension.; [WIN32 0x00000483/C1155]"},
    {"DllNotFound", 1157,
     "ExecuteApp: ERROR: The process has failed to start. One of the library files necessary to run the application can't be found.; [WIN32 0x00000485/C1157]"},
    {"Other", 1326, "ExecuteApp: ERROR: The process has failed to start.; [WIN32 0x0000052e/C1326]"},
};

class ShellStartFailure : public ::testing::TestWithParam<StartFailure> {};

TEST_P(ShellStartFailure, IsOneErrorRecordWithTheCodesTextAndTag) {
  AppRun run("[fail]\nShellExecuteEx = 1:" + std::to_string(GetParam().code) + "\n");
  EXPECT_EQ(ExecuteAppEx(run.l, platform::kNoWindow, kInstaller, "/q", true, false), -1);
  EXPECT_EQ(run.l.log.ErrorRecordCount, 1);
  EXPECT_TRUE(Has(run.ErrorText(), std::string(GetParam().record) + "\r\n")) << run.ErrorText();
  EXPECT_TRUE(run.Processes().empty());
}

INSTANTIATE_TEST_SUITE_P(EveryCode, ShellStartFailure, ::testing::ValuesIn(kStartFailures), test_support::ByName);

TEST(ExecuteAppEx, ACancelledStartIsNoErrorOfTheRun) {
  for (const std::string ini : {"[fail]\nShellExecuteEx = 1:1223\n", "[ui]\nconsent = no\n",
                                "[programs]\nC:\\Portavel\\redist\\vc_redist.x86.exe = refuse\n"}) {
    AppRun run(ini);
    EXPECT_EQ(ExecuteAppEx(run.l, platform::kNoWindow, kInstaller, "/q", true, false), -1) << ini;
    EXPECT_EQ(run.l.log.ErrorRecordCount, 0) << ini;
    EXPECT_TRUE(Has(run.Debug(), "ExecuteApp: ERROR: The system has refused elevation.\r\n")) << ini;
    EXPECT_TRUE(run.Processes().empty()) << ini;
  }
}

TEST(ExecuteAppEx, BeforeWindows7NoVerbIsSetAndNoConsentAsked) {
  AppRun run("[ui]\nconsent = no\n[programs]\nC:\\Portavel\\redist\\vc_redist.x86.exe = 7\n", false);
  EXPECT_EQ(ExecuteAppEx(run.l, platform::kNoWindow, kInstaller, "/q", true, false), 7);
  EXPECT_FALSE(Has(run.Debug(), "runas"));
  EXPECT_EQ(run.Processes(), std::vector<std::string>{
                                 "SHELL verb=\"\" file=\"C:\\Portavel\\redist\\vc_redist.x86.exe\" "
                                 "params=\"/q\" show=1 wait=1 result=7"});
}

// An installer waited for with its exit code is the runtime install's test.
TEST(ExecuteAppEx, AProgramThatOutlastsFiveMinutesIsLeftRunningAndReportedAsZero) {
  AppRun run("[programs]\nC:\\Portavel\\redist\\vc_redist.x86.exe = 5 after 400s\n");
  EXPECT_EQ(ExecuteAppEx(run.l, platform::kNoWindow, kInstaller, "/q", true, true), 0);
  EXPECT_EQ(run.Elapsed(), 300000);
  EXPECT_TRUE(Has(run.Debug(), "ExecuteApp: WaitForSingleObject has returned due to timeout.\r\n"));
  EXPECT_EQ(run.Processes(), std::vector<std::string>{
                                 "SHELL verb=\"runas\" file=\"C:\\Portavel\\redist\\vc_redist.x86.exe\" "
                                 "params=\"/q\" show=0 wait=1 result=259"});
  EXPECT_EQ(run.l.log.ErrorRecordCount, 0);
}

struct ResultRow {
  const char* what;
  const char* ini;
  const char* file;
  bool wait;
  std::int32_t result;
};

TEST(ExecuteAppEx, ReturnsTheExitCodeOrZeroWhenItCannotBeRead) {
  constexpr ResultRow kRows[] = {
      {"an elevated launcher is not asked for consent",
       "[user]\nelevated = true\n[ui]\nconsent = no\n[programs]\nC:\\Portavel\\redist\\vc_redist.x86.exe = 0\n",
       kInstaller, true, 0},
      {"ending exactly at the time-out has ended",
       "[programs]\nC:\\Portavel\\redist\\vc_redist.x86.exe = 4 after 300s\n", kInstaller, true, 4},
      {"an unreadable exit code after the wait",
       "[fail]\nGetExitCodeProcess = 1\n[programs]\nC:\\Portavel\\redist\\vc_redist.x86.exe = 1603\n", kInstaller,
       true, 0},
      {"an unreadable exit code without a wait", "[fail]\nGetExitCodeProcess = 1\n", "C:\\Portavel\\Tavix.exe", false, 0},
  };
  for (const ResultRow& row : kRows) {
    AppRun run(row.ini);
    EXPECT_EQ(ExecuteAppEx(run.l, platform::kNoWindow, row.file, "", row.wait, false), row.result) << row.what;
  }
}

TEST(ExecuteAppEx, WithoutAWaitTheRestartedLauncherStillRuns) {
  AppRun run;
  EXPECT_EQ(ExecuteAppEx(run.l, 0x1234, "C:\\Portavel\\Tavix.exe", " -el", false, false),
            static_cast<std::int32_t>(platform::kStillActive));
  EXPECT_EQ(run.Elapsed(), 0);
  EXPECT_EQ(run.Processes(),
            std::vector<std::string>{
                "SHELL verb=\"runas\" file=\"C:\\Portavel\\Tavix.exe\" params=\" -el\" show=1 wait=0 result=259"});
}

TEST(WaitOutcome, EveryResultOfTheWaitHasItsRecordAndResult) {
  struct Row {
    std::uint32_t wait_result;
    const char* record;
    bool is_error;
    bool has_exit_code;
    std::int32_t result;
  };
  constexpr Row kRows[] = {
      {0x00000000, "ExecuteApp: WaitForSingleObject has returned OK.", false, true, 0},
      {0x00000102, "ExecuteApp: WaitForSingleObject has returned due to timeout.", false, false, 0},
      {0x00000080, "ExecuteApp: WaitForSingleObject has returned ABANDONED.", false, false, -1},
      {0xFFFFFFFF, "ExecuteApp: ERROR: WaitForSingleObject has FAILED.", true, false, -1},
      {0x00000001, "ExecuteApp: ERROR: WaitForSingleObject has an unknown failure.", true, false, -1},
  };
  for (const Row& row : kRows) {
    const WaitOutcome& outcome = WaitOutcomeOf(row.wait_result);
    EXPECT_EQ(std::make_tuple(std::string(outcome.record), outcome.is_error, outcome.has_exit_code,
                              row.has_exit_code ? 0 : outcome.result),
              std::make_tuple(std::string(row.record), row.is_error, row.has_exit_code, row.result))
        << std::hex << row.wait_result;
  }
}

}  // namespace
