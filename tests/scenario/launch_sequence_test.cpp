// Scenario tests of the run as a whole: modes, status texts, the product start, the
// verdict and the exit codes.
#include <algorithm>
#include <string>
#include <vector>

#include "tests/scenario/scenario_machine.h"

namespace scenario {
namespace {

const std::vector<std::string> kStandardStartUi = {
    "DIALOG DOVRELPV_SPLASH title=\"Initializing Dovrel\"",
    "STATUS \"Initializing Dovrel...\"",
    "SUBSTATUS 1 \"Inspecting operating system environment...\"",
    "SUBSTATUS 10 \"Validating Configuration...\"",
    "SUBSTATUS 20 \"Checking for required updates...\"",
    "SUBSTATUS 30 \"Validating Dependencies...\"",
    "SUBSTATUS 50 \"Validating COM Assemblies...\"",
    "SUBSTATUS 70 \"Validating Veltrix Fonts...\"",
    "SUBSTATUS 80 \"Validating Dovrel executables...\"",
    "SUBSTATUS 90 \"Validating Dovrel Peripheral Engine files...\"",
    "SUBSTATUS 100 \"Preparing to launch...\"",
    "SUBSTATUS 100 \"Launching Dovrel Please Wait...\"",
    "CLOSE DOVRELPV_SPLASH",
};

const std::vector<std::string> kPreloadUi = {
    "DIALOG DOVRELPV_SPLASH title=\"Dovrel System Check\"",
    "STATUS \"Dovrel System Check\"",
    "SUBSTATUS 1 \"Inspecting operating system environment...\"",
    "SUBSTATUS 10 \"Inspecting Configuration...\"",
    "SUBSTATUS 20 \"Checking for required updates...\"",
    "SUBSTATUS 70 \"Validating Veltrix Fonts...\"",
    "SUBSTATUS 80 \"Validating Dovrel executables...\"",
    "SUBSTATUS 80 \"Validating Dovrel Peripheral Engine files...\"",
    "STATUS \"Dovrel System Ready For Use\"",
    "CLOSE DOVRELPV_SPLASH",
};

// The STATUS and SUBSTATUS lines of a ui.log, each as the status routine's debug
// record says it: "UpdateStatus: TEXT" or "UpdateSubStatus: TEXT".
std::vector<std::string> StatusRecordsOf(const std::vector<std::string>& ui) {
  std::vector<std::string> records;
  for (const std::string& line : ui) {
    const std::size_t open = line.find('"');
    if (open == std::string::npos || line.back() != '"') continue;
    const std::string text = line.substr(open + 1, line.size() - open - 2);
    if (line.rfind("STATUS ", 0) == 0) records.push_back("UpdateStatus: " + text);
    if (line.rfind("SUBSTATUS ", 0) == 0) records.push_back("UpdateSubStatus: " + text);
  }
  return records;
}

// The status routines' records of a log, in their order, without the nesting.
std::vector<std::string> StatusRecordsIn(const std::vector<std::string>& log) {
  std::vector<std::string> records;
  for (const std::string& message : MessagesOf(ParseDebugLog(log)))
    if (message.rfind("UpdateStatus: ", 0) == 0 || message.rfind("UpdateSubStatus: ", 0) == 0)
      records.push_back(message);
  return records;
}

// 4.7 seconds of pauses and 0.7 of the backup set's seven folder checks pass on the
// virtual clock.
TEST(StandardStart, ShowsEveryStepStartsTheProductAndTakesFiveSeconds) {
  Machine m;
  RunResult run = m.Run("-d");
  EXPECT_EQ(run.exit_status, 0) << run.err;
  EXPECT_EQ(LastLine(run.out), "exit code 0");
  EXPECT_EQ(m.Lines("ui.log"), kStandardStartUi);
  // The product starts detached, in a process group of its own, its window hidden.
  EXPECT_EQ(m.Lines("processes.log"),
            std::vector<std::string>{"CREATE app=\"C:\\Portavel\\tsystem1.exe\" "
                                     "cmdline=\"C:\\Portavel\\Tavix.exe \" cwd=\"C:\\Portavel\" "
                                     "show=0 flags=0x00000208"});
  const auto log = m.DebugLog();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.front().substr(0, 17) + " " + log.back().substr(0, 17), "12/06/26 08:30:00 12/06/26 08:30:05");
  EXPECT_EQ(MessageOf(log.back()), "Ending launcher application with exit code 0.");
}

struct SequenceCase {
  const char* command_line;
  const char* log;  // below C:\Portavel
  const std::vector<std::string>* shown;
};

// The log holds the status texts of the window, whether it is shown or not.
TEST(StatusTexts, AreLoggedInTheOrderShownWithOrWithoutAWindow) {
  for (const SequenceCase& c : {SequenceCase{"-d", "TavixDebug.log", &kStandardStartUi},
                                SequenceCase{"-s -d", "TavixDebug.log", &kStandardStartUi},
                                SequenceCase{"preload", "TavixPreload.log", &kPreloadUi},
                                SequenceCase{"-s preload", "TavixPreload.log", &kPreloadUi}}) {
    Machine m;
    m.Run(c.command_line);
    EXPECT_EQ(StatusRecordsIn(ReadLines(m.C(std::string("Portavel/") + c.log))), StatusRecordsOf(*c.shown))
        << c.command_line;
    EXPECT_EQ(m.Lines("ui.log").empty(), c.command_line[1] == 's') << c.command_line;
  }
}

TEST(StandardStart, RepairModeShowsTheSameStepsUnderItsOwnFirstLine) {
  Machine m;
  m.Run("-r");
  std::vector<std::string> expected = kStandardStartUi;
  expected[1] = "STATUS \"Initializing Dovrel (Repair Mode)...\"";
  // Repairing needs administrator rights, which the clerk is offered to gain.
  expected.insert(expected.begin() + 4, "ELEVATE answer=cancel");
  EXPECT_EQ(m.Lines("ui.log"), expected);
}

TEST(StandardStart, MissingProductFailsWithExitCode110AndCountsEveryError) {
  Machine m;  // no Debug value in the registry: one error already
  fs::remove(m.C("Portavel/tsystem1.exe"));
  RunResult run = m.Run("-d");
  EXPECT_EQ(run.exit_status, 110);
  EXPECT_EQ(LastLine(run.out), "exit code 110");
  EXPECT_TRUE(m.Lines("processes.log").empty());
  // The error about the missing Debug value came before the logs were open: counted, not written.
  EXPECT_EQ(ErrorMessages(m.ErrorLog()),
            (std::vector<std::string>{"ExecuteProcessEx: ERROR: The process has failed to start. The specified file "
                                      "was not found.; [WIN32 0x00000002/C0002]",
                                      "*** Dovrel Launch Failed. There were 2 errors during startup. ***"}));
  EXPECT_TRUE(Contains(m.DebugLog(),
                       "ExecuteProcessEx: Failed to CreateProcess: \"C:\\Portavel\\tsystem1.exe\" "
                       "C:\\Portavel\\Tavix.exe ; [WIN32 0x00000002/C0002]"));
}

struct ModeCase {
  const char* name;
  const char* command_line;
  const char* first_ui_line;  // empty: no window at all
};

class ModeSelection : public ::testing::TestWithParam<ModeCase> {};

TEST_P(ModeSelection, FirstMatchingModeWordWins) {
  Machine m;
  m.Run(GetParam().command_line);
  const auto ui = m.Lines("ui.log");
  EXPECT_EQ(ui.empty() ? "" : ui.front(), GetParam().first_ui_line);
}

constexpr const char* kReplaceDialog = "DIALOG VERIFYDIALOG title=\"Replace system files\"";
constexpr const char* kStartDialog = "DIALOG DOVRELPV_SPLASH title=\"Initializing Dovrel\"";

INSTANTIATE_TEST_SUITE_P(
    Modes, ModeSelection,
    ::testing::Values(ModeCase{"ListBeforeReplace", "list replace", ""},
                      ModeCase{"ListAfterReplace", "replace list", ""},
                      ModeCase{"ReplaceBeforePreload", "replace preload", kReplaceDialog},
                      ModeCase{"PreloadInCapitals", "PRELOAD", "DIALOG DOVRELPV_SPLASH title=\"Dovrel System Check\""},
                      ModeCase{"ReplaceAfterPreload", "-d preload replace", kReplaceDialog},
                      ModeCase{"Standard", "", kStartDialog},
                      ModeCase{"QuotedDashIsNoEngineCommand", "\"-preload\"", kStartDialog}), ByName);

TEST(PreloadMode, ShowsItsStepsAndEndsWithoutStartingTheProduct) {
  Machine m;
  RunResult run = m.Run("preload");
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_TRUE(m.Lines("processes.log").empty());
  EXPECT_EQ(m.Lines("ui.log"), kPreloadUi);
  // The preload log is written at level 1 without -d; the debug log is not.
  EXPECT_TRUE(fs::exists(m.C("Portavel/TavixPreload.log")));
  EXPECT_FALSE(fs::exists(m.C("Portavel/TavixDebug.log")));
}

// A launcher folder so long that pv_main.ini beside it has no path: its values are
// taken as TRUE, and the run says so (only to a debugger here: the logs' paths are
// longer still).
TEST(PreloadMode, ASettingsFilePathTooLongIsAnErrorAndItsValuesAreTrue) {
  std::string folder = "C:";
  while (folder.size() < 253) folder += "\\" + std::string(std::min<std::size_t>(50, 252 - folder.size()), 'p');
  Machine m;
  m.Write("machine.ini", std::string(kMachineIni) + "[launcher]\npath = " + folder + "\\T.exe\ndebugger = true\n");
  EXPECT_EQ(m.Run("preload").exit_status, 0);
  EXPECT_TRUE(Contains(m.Lines("debugger.log"), "WinMain: The path of pv_main.ini in \"" + folder +
                                                    "\\\" is too long; its values are taken as TRUE."));
}

TEST(HelpBox, ShowsTheSwitchesAndEndsWithZeroBeforeAnyLog) {
  for (const char* command_line : {"-?", "?", "-d -?"}) {
    Machine m;
    RunResult run = m.Run(command_line);
    EXPECT_EQ(run.exit_status, 0) << command_line;
    EXPECT_EQ(m.Lines("ui.log"),
              std::vector<std::string>{
                  "MESSAGEBOX caption=\"Tavix Launcher Command Line Help\" style=0x00000000 "
                  "text=\"TAVIX.EXE [-?] [-d] [-kl] [-s] [-i] [-r]\\n\\n[-? ] Show command line help\\n"
                  "[-d] Enable debug logging\\n[-kl] Append to logs (instead of overwriting)\\n"
                  "[-s] Silent mode\\n[-i] Use Instance File\\n[-r] Repair mode\\n\" answer=ok"})
        << command_line;
    EXPECT_FALSE(fs::exists(m.C("Portavel/TavixDebug.log"))) << command_line;
    EXPECT_FALSE(fs::exists(m.C("Portavel/TavixError.log"))) << command_line;
  }
}

TEST(MachineFolder, MalformedFileIsRefusedWithExitCode2NamingTheLine) {
  Machine m;
  m.Write("machine.ini", "[os]\nmajor = 10\nthis is not a key\n");
  RunResult run = m.Run("");
  EXPECT_EQ(run.exit_status, 2);
  EXPECT_NE(run.err.find("machine.ini:3"), std::string::npos) << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  EXPECT_TRUE(m.Lines("ui.log").empty());
}

TEST(Runner, PrintsItsUsage) {
  RunResult run = RunLauncherSim({"--help"});
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_NE(run.out.find("usage: launcher-sim --machine DIR [--cmdline TEXT] [--real-sleep]"),
            std::string::npos);
}

}  // namespace
}  // namespace scenario
