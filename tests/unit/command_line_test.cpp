// The command line: splitting, classification, the argument blocks' bounds, the
// critical failures and the help box, on a simulated workstation.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "diag/heap_helpers.h"
#include "launcher/command_line.h"
#include "base/launcher.h"
#include "tests/unit/test_machine.h"

namespace {

// A workstation of its own for each test, removed afterwards.
class CommandLineTest : public ::testing::Test {
 protected:
  void SetUp() override { UseMachine(""); }
  void TearDown() override { ReleaseLaunchers(); }

  // Loads a fresh workstation whose machine.ini also holds `ini`.
  void UseMachine(const std::string& ini) {
    ReleaseLaunchers();
    machine_ = std::make_unique<unit::TestMachine>(ini);
  }

  Launcher& NewLauncher() {
    launchers_.push_back(std::make_unique<Launcher>(machine_->platform()));
    return *launchers_.back();
  }

  void ReleaseLaunchers() {
    for (auto& l : launchers_) ReleaseArgumentBlocks(*l);
    launchers_.clear();
  }

  // InitParams; the exit code when it ended the run.
  static std::optional<int> RunInitParams(Launcher& l, std::string_view line) {
    try {
      InitParams(l, line);
    } catch (const ProcessExit& exit) {
      return exit.code;
    }
    return std::nullopt;
  }

  std::unique_ptr<unit::TestMachine> machine_;
  std::vector<std::unique_ptr<Launcher>> launchers_;
};

// The arguments, checking the table's null end and that every string lies in the
// block's string area.
std::vector<std::string> Arguments(const Launcher& l) {
  const RunState& run = l.run;
  std::vector<std::string> arguments;
  const char* block = reinterpret_cast<const char*>(run.ParamsArray);
  const std::size_t length = run.CommandLineCopy.size();  // lines in these tables fit the copy
  const char* area = block + sizeof(char*) * ArgumentTableEntries(length);
  const char* end = block + run.ArgumentBlockSize;
  EXPECT_LT(static_cast<std::size_t>(run.ArgumentCount), ArgumentTableEntries(length));
  for (std::int32_t i = 0; i < run.ArgumentCount; ++i) {
    const char* text = run.ParamsArray[i];
    EXPECT_GE(text, area);
    const std::string_view s(text);
    EXPECT_LT(text + s.size(), end);
    arguments.emplace_back(s);
  }
  EXPECT_EQ(run.ParamsArray[run.ArgumentCount], nullptr);
  return arguments;
}

std::vector<std::string> EngineCommands(const Launcher& l) {
  std::vector<std::string> commands;
  for (std::int32_t i = 0; i < l.run.EngineCommandCount; ++i) commands.emplace_back(l.run.EngineCommands[i]);
  return commands;
}

using Args = std::vector<std::string>;

struct SplitCase {
  const char* what;
  std::string_view line;
  Args arguments;
};

const SplitCase kSplitCases[] = {
    {"empty line", "", {}},
    {"dashes only", "- --", {}},
    {"options separated", "-d -kl", {"d", "kl"}},
    {"first option keeps its quoted value", R"(-i "C:\x y\f")", {R"(i "C:\x y\f")"}},
    {"quoted value after a later option", R"(-d -i "C:\x y\f")", {"d", "i", R"(C:\x y\f)"}},
    {"first option with value, then option", R"(-i "C:\x y\f" -d)", {R"(i "C:\x y\f")", "d"}},
    {"dash inside a word", "ab-cd", {"abcd"}},
    {"tab separates", "a\tb", {"a", "b"}},
    {"quote inside a word", R"(a"b c"d)", {"ab cd"}},
    {"leading dash then quoted text loses it", R"(-"lost text" x)", {"x"}},
    {"dash after the first option ends it", "-d -", {"d"}},
    {"dash-quoted text after the first option is lost", R"(-d -"x y" z)", {"d", "z"}},
    {"quoted dash word", R"("-x")", {"-x"}},
    {"empty quotes", R"("")", {""}},
    {"unterminated quote", R"("open end)", {"open end"}},
    {"first option keeps a trailing blank", "-d ", {"d "}},
    {"first option joins the next word only through quotes", "-d x -k", {"d", "x", "k"}},
};

TEST_F(CommandLineTest, SplitsLikeTheStateMachine) {
  for (const SplitCase& c : kSplitCases) {
    SCOPED_TRACE(c.what);
    Launcher& l = NewLauncher();
    ASSERT_EQ(RunInitParams(l, c.line), std::nullopt);
    EXPECT_EQ(Arguments(l), c.arguments);
  }
}

struct Flags {
  bool silent = false, repair = false, diagnostic = false, developer = false, append = false,
       instance = false, elevate = false, preload = false;
  bool operator==(const Flags&) const = default;
};

Flags FlagsOf(const RunState& run) {
  return {run.SilentMode,       run.RepairMode,        run.DiagnosticLogging,
          run.DeveloperDebugLogging, run.AppendLogFiles, run.UsingInstanceFile,
          run.ElevateProcessRequestIndicator, run.PreloadMode};
}

std::ostream& operator<<(std::ostream& out, const Flags& f) {
  return out << "silent=" << f.silent << " repair=" << f.repair << " diagnostic=" << f.diagnostic
             << " developer=" << f.developer << " append=" << f.append << " instance=" << f.instance
             << " elevate=" << f.elevate << " preload=" << f.preload;
}

struct ClassifyCase {
  const char* what;
  std::string_view line;
  Flags flags;
  Args engine_commands;
};

const ClassifyCase kClassifyCases[] = {
    {"empty line", "", {}, {}},
    {"diagnostic and append", "-d -kl", {.diagnostic = true, .append = true}, {}},
    {"developer only", "-d100", {.developer = true}, {}},
    {"switch without its dash", "d", {.diagnostic = true}, {}},
    {"silent preload repair", "-s preload -r", {.silent = true, .repair = true, .preload = true}, {"PRELOAD"}},
    {"engine command upper-cased", "List", {}, {"LIST"}},
    {"unknown option becomes a command", "-x", {}, {"X"}},
    {"quoted dash word is unrecognized", R"("-x")", {}, {}},
    {"elevated restart marker", "-el", {.elevate = true}, {}},
    {"instance switch then command", "-i CLEAR", {.instance = true}, {"CLEAR"}},
    {"commands in order", "list Replace preload", {.preload = true}, {"LIST", "REPLACE", "PRELOAD"}},
    {"every switch in capitals", "-S -R -KL -EL -I -D100 -D",
     {true, true, true, true, true, true, true, false}, {}},
    {"quoted single word becomes command", R"("preload")", {.preload = true}, {"PRELOAD"}},
    {"empty quotes are an empty command", R"("")", {}, {""}},
};

TEST_F(CommandLineTest, ClassifiesSwitchesAndEngineCommands) {
  for (const ClassifyCase& c : kClassifyCases) {
    SCOPED_TRACE(c.what);
    Launcher& l = NewLauncher();
    ASSERT_EQ(RunInitParams(l, c.line), std::nullopt);
    EXPECT_EQ(FlagsOf(l.run), c.flags);
    EXPECT_EQ(EngineCommands(l), c.engine_commands);
  }
}

TEST_F(CommandLineTest, SecondPassRebuildsEngineCommandsFromScratch) {
  Launcher& l = NewLauncher();
  ASSERT_EQ(RunInitParams(l, "list preload"), std::nullopt);
  l.run.PreloadMode = false;
  ClassifyArguments(l, false);
  EXPECT_EQ(EngineCommands(l), (Args{"LIST", "PRELOAD"}));
  EXPECT_TRUE(l.run.PreloadMode);
}

TEST_F(CommandLineTest, VerbosePassRecordsEachArgumentOneLevelDeeper) {
  Launcher& l = NewLauncher();
  ASSERT_EQ(RunInitParams(l, R"(-i "C:\x y\f" list "-q" -kl)"), std::nullopt);
  l.log.DebugLevel = 100;
  l.log.LoggingEnabled = true;
  ASSERT_TRUE(l.log.DebugLogPath.assign(R"(C:\Portavel\TavixDebug.log)"));

  ClassifyArguments(l, true);

  EXPECT_EQ(l.log.LogNestingDepth, 0);
  const std::string log = machine_->Text("drives/C/Portavel/TavixDebug.log");
  // Tag, its separating space, then three spaces of nesting; the log's lines end in
  // CR LF.
  const std::string prefix = "TAVIX DEBUG X     ";
  const char* expected[] = {
      "Arg 0: [i \"C:\\x y\\f\"]\tName=[i] Value=[C:\\x y\\f]\tUsing Instance File\r\n",
      "Arg 1: [list]\tName=[list] Value=[]\tRating Engine Command\r\n",
      "Arg 2: [-q]\tName=[-q] Value=[]\tUnrecognized Parameter\r\n",
      "Arg 3: [kl]\tName=[kl] Value=[]\tAppend Log Files\r\n",
      "There are 1 rating engine commands on the command line.\r\n",
  };
  std::size_t from = 0;
  for (const char* record : expected) {
    const std::size_t at = log.find(prefix + record, from);
    ASSERT_NE(at, std::string::npos) << record << "\nin:\n" << log;
    from = at;
  }
  EXPECT_EQ(EngineCommands(l), (Args{"LIST"}));
}

TEST_F(CommandLineTest, HasEngineCommandIgnoresCase) {
  Launcher& l = NewLauncher();
  ASSERT_EQ(RunInitParams(l, "-d List replace"), std::nullopt);
  const std::pair<const char*, bool> names[] = {
      {"list", true}, {"REPLACE", true}, {"preload", false}, {"lis", false}, {"d", false}};
  for (const auto& [name, has] : names) EXPECT_EQ(HasEngineCommand(l, name), has) << name;
}

TEST_F(CommandLineTest, LongNameIsCutToThirtyOneCharacters) {
  Launcher& l = NewLauncher();
  const std::string name(40, 'w');
  ASSERT_EQ(RunInitParams(l, "x" + name), std::nullopt);
  EXPECT_EQ(EngineCommands(l), (Args{"X" + std::string(30, 'W')}));
}

TEST_F(CommandLineTest, LongValueIsCutAndKeepsItsOpeningQuote) {
  // The record is longer than a log line; the debugger receives it unwrapped.
  UseMachine("[launcher]\ndebugger = true\n");
  Launcher& l = NewLauncher();
  const std::string path(300, 'v');
  ASSERT_EQ(RunInitParams(l, "-i \"" + path + "\""), std::nullopt);
  EXPECT_TRUE(l.run.UsingInstanceFile);
  l.log.DebugLevel = 100;
  ClassifyArguments(l, true);
  const std::string records = machine_->Text("debugger.log");
  // 259 characters: the opening quote and 258 of the path; the closing quote is cut.
  EXPECT_NE(records.find("Name=[i] Value=[\"" + std::string(258, 'v') + "]\tUsing Instance File"),
            std::string::npos)
      << records;
}

TEST_F(CommandLineTest, LongCommandLineIsCutInTheCopyButSplitWhole) {
  Launcher& l = NewLauncher();
  std::string line = "-d";
  for (int i = 0; i < 1000; ++i) line += " w" + std::to_string(i);
  ASSERT_EQ(RunInitParams(l, line), std::nullopt);
  EXPECT_EQ(l.run.CommandLineCopy.view(), std::string_view(line).substr(0, 259));
  ASSERT_EQ(std::make_tuple(l.run.ArgumentCount, l.run.EngineCommandCount), std::make_tuple(1001, 1000));
  EXPECT_EQ(std::string(l.run.ParamsArray[1000]) + " " + l.run.EngineCommands[999], "w999 W999");
  EXPECT_EQ(l.run.ParamsArray[1001], nullptr);
}

// Lines that push the argument count or the string area to what the block holds.
TEST_F(CommandLineTest, DenseLinesStayInsideTheBlock) {
  auto repeat = [](std::string_view part, int n) {
    std::string text;
    while (n-- > 0) text += part;
    return text;
  };
  const struct {
    std::string line;
    std::int32_t count;
  } cases[] = {{repeat("a ", 2001) + "a", 2002},
               {repeat("\"\" ", 1500), 1500},
               {"-d \"" + std::string(3000, 'q') + "\"", 1},
               {repeat("-a ", 1000), 1000}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.count);
    Launcher& l = NewLauncher();
    ASSERT_EQ(RunInitParams(l, c.line), std::nullopt);
    EXPECT_EQ(l.run.ArgumentCount, c.count);
    const char* end = reinterpret_cast<const char*>(l.run.ParamsArray) + l.run.ArgumentBlockSize;
    for (std::int32_t a = 0; a < l.run.ArgumentCount; ++a) {
      EXPECT_LT(l.run.ParamsArray[a] + std::string_view(l.run.ParamsArray[a]).size(), end);
    }
    EXPECT_EQ(l.run.ParamsArray[l.run.ArgumentCount], nullptr);
  }
}

TEST_F(CommandLineTest, HelpNamesThe64BitLauncherWhenKnown) {
  Launcher& l = NewLauncher();
  l.sys.Is64BitProcess = true;
  EXPECT_EQ(RunInitParams(l, "-?"), 0);
  EXPECT_NE(machine_->Text("ui.log").find("text=\"TAVIX64.EXE [-?] [-d] [-kl] [-s] [-i] [-r]\\n\\n"),
            std::string::npos);
}

// The argument table first, then the engine commands' block, which releases the first.
TEST_F(CommandLineTest, AnAllocationFailureEndsWithSixHoldingNoBlock) {
  const struct {
    const char* fail;
    void* params_array;
    const char* code;
  } cases[] = {{"HeapAlloc = 1:8", nullptr, "Initialize_476"}, {"HeapAlloc = 2:8", ReleasedPointer(), "Initialize_485"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fail);
    UseMachine(std::string("[fail]\n") + c.fail + "\n");
    Launcher& l = NewLauncher();
    EXPECT_EQ(RunInitParams(l, "-d"), 6);
    EXPECT_EQ(std::make_tuple(static_cast<void*>(l.run.ParamsArray), static_cast<void*>(l.run.EngineCommands)),
              std::make_tuple(c.params_array, static_cast<void*>(nullptr)));
    EXPECT_EQ(machine_->Lines("ui.log"),
              std::vector<std::string>{
                  std::string("MESSAGEBOX caption=\"Portavel\" style=0x00050010 text=\"An error has occurred:\\n\\n"
                              "A critical error has occured during initialization. Code: ") +
                  c.code + "\" answer=ok"});
  }
}

TEST_F(CommandLineTest, ReleaseMarksBothBlocksAndForgetsTheCounts) {
  Launcher& l = NewLauncher();
  ASSERT_EQ(RunInitParams(l, "list -d"), std::nullopt);
  for (int release = 0; release < 2; ++release) {  // a second release changes nothing
    ReleaseArgumentBlocks(l);
    EXPECT_EQ(std::make_tuple(static_cast<void*>(l.run.ParamsArray), static_cast<void*>(l.run.EngineCommands),
                              l.run.ArgumentCount, HasEngineCommand(l, "list")),
              std::make_tuple(ReleasedPointer(), ReleasedPointer(), 0, false));
  }
}

}  // namespace
