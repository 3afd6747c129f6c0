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

using Args = std::vector<std::string>;

// The arguments of `line`, checking the table's null end and that every string lies
// in the block's string area.
Args Arguments(const Launcher& l, std::string_view line) {
  const RunState& run = l.run;
  Args arguments;
  const char* block = reinterpret_cast<const char*>(run.ParamsArray);
  const char* area = block + sizeof(char*) * ArgumentTableEntries(line.size());
  const char* end = block + run.ArgumentBlockSize;
  EXPECT_LT(static_cast<std::size_t>(run.ArgumentCount), ArgumentTableEntries(line.size()));
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

Args EngineCommands(const Launcher& l) {
  Args commands;
  for (std::int32_t i = 0; i < l.run.EngineCommandCount; ++i) commands.emplace_back(l.run.EngineCommands[i]);
  return commands;
}

// The switches the line set, named in a fixed order.
std::string FlagsOf(const RunState& run) {
  const std::pair<bool, const char*> flags[] = {
      {run.SilentMode, "silent"}, {run.RepairMode, "repair"}, {run.DiagnosticLogging, "diagnostic"},
      {run.DeveloperDebugLogging, "developer"}, {run.AppendLogFiles, "append"}, {run.UsingInstanceFile, "instance"},
      {run.ElevateProcessRequestIndicator, "elevate"}, {run.PreloadMode, "preload"}};
  std::string names;
  for (const auto& [set, name] : flags)
    if (set) names += (names.empty() ? "" : " ") + std::string(name);
  return names;
}

struct LineCase {
  const char* what;
  std::string line;
  Args arguments;
  std::string flags;  // as FlagsOf names them
  Args engine_commands;
};

const LineCase kLineCases[] = {
    {"empty line", "", {}, "", {}},
    {"dashes only", "- --", {}, "", {}},
    {"options separated", "-d -kl", {"d", "kl"}, "diagnostic append", {}},
    {"first option keeps its quoted value", R"(-i "C:\x y\f")", {R"(i "C:\x y\f")"}, "instance", {}},
    {"quoted value after a later option", R"(-d -i "C:\x y\f")", {"d", "i", R"(C:\x y\f)"},
     "diagnostic instance", {"C:\\X"}},
    {"first option with value, then option", R"(-i "C:\x y\f" -d)", {R"(i "C:\x y\f")", "d"},
     "diagnostic instance", {}},
    {"dash inside a word", "ab-cd", {"abcd"}, "", {"ABCD"}},
    {"tab separates", "a\tb", {"a", "b"}, "", {"A", "B"}},
    {"quote inside a word", R"(a"b c"d)", {"ab cd"}, "", {"AB"}},
    {"leading dash then quoted text loses it", R"(-"lost text" x)", {"x"}, "", {"X"}},
    {"dash after the first option ends it", "-d -", {"d"}, "diagnostic", {}},
    {"dash-quoted text after the first option is lost", R"(-d -"x y" z)", {"d", "z"}, "diagnostic", {"Z"}},
    {"quoted dash word is unrecognized", R"("-x")", {"-x"}, "", {}},
    {"empty quotes are an empty command", R"("")", {""}, "", {""}},
    {"unterminated quote", R"("open end)", {"open end"}, "", {"OPEN"}},
    {"first option keeps a trailing blank", "-d ", {"d "}, "diagnostic", {}},
    {"first option joins the next word only through quotes", "-d x -k", {"d", "x", "k"}, "diagnostic", {"X", "K"}},
    {"developer only", "-d100", {"d100"}, "developer", {}},
    {"switch without its dash", "d", {"d"}, "diagnostic", {}},
    {"silent preload repair", "-s preload -r", {"s", "preload", "r"}, "silent repair preload", {"PRELOAD"}},
    {"engine command upper-cased", "List", {"List"}, "", {"LIST"}},
    {"unknown option becomes a command", "-x", {"x"}, "", {"X"}},
    {"elevated restart marker", "-el", {"el"}, "elevate", {}},
    {"instance switch then command", "-i CLEAR", {"i", "CLEAR"}, "instance", {"CLEAR"}},
    {"commands in order", "list Replace preload", {"list", "Replace", "preload"}, "preload",
     {"LIST", "REPLACE", "PRELOAD"}},
    {"every switch in capitals", "-S -R -KL -EL -I -D100 -D", {"S", "R", "KL", "EL", "I", "D100", "D"},
     "silent repair diagnostic developer append instance elevate", {}},
    {"quoted single word becomes command", R"("preload")", {"preload"}, "preload", {"PRELOAD"}},
    // A name is kept in 32 characters; a longer one is cut, not refused.
    {"long name cut to 31 characters", "x" + std::string(40, 'w'), {"x" + std::string(40, 'w')}, "",
     {"X" + std::string(30, 'W')}},
};

TEST_F(CommandLineTest, SplitsAndClassifiesEachLine) {
  for (const LineCase& c : kLineCases) {
    SCOPED_TRACE(c.what);
    Launcher& l = NewLauncher();
    ASSERT_EQ(RunInitParams(l, c.line), std::nullopt);
    EXPECT_EQ(Arguments(l, c.line), c.arguments);
    EXPECT_EQ(FlagsOf(l.run), c.flags);
    EXPECT_EQ(EngineCommands(l), c.engine_commands);
  }
}

TEST_F(CommandLineTest, EngineCommandsAreRebuiltFoundInAnyCaseAndForgottenOnRelease) {
  Launcher& l = NewLauncher();
  ASSERT_EQ(RunInitParams(l, "-d List preload"), std::nullopt);
  l.run.PreloadMode = false;
  ClassifyArguments(l, false);  // a second pass starts from scratch
  EXPECT_EQ(EngineCommands(l), (Args{"LIST", "PRELOAD"}));
  EXPECT_TRUE(l.run.PreloadMode);
  const std::pair<const char*, bool> names[] = {
      {"list", true}, {"PRELOAD", true}, {"replace", false}, {"lis", false}, {"d", false}};
  for (const auto& [name, has] : names) EXPECT_EQ(HasEngineCommand(l, name), has) << name;
  for (int release = 0; release < 2; ++release) {  // a second release changes nothing
    ReleaseArgumentBlocks(l);
    EXPECT_EQ(std::make_tuple(static_cast<void*>(l.run.ParamsArray), static_cast<void*>(l.run.EngineCommands),
                              l.run.ArgumentCount, HasEngineCommand(l, "list")),
              std::make_tuple(ReleasedPointer(), ReleasedPointer(), 0, false));
  }
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
  // One level of nesting; the log's lines end in CR LF.
  std::string expected;
  for (const char* record : {"Arg 0: [i \"C:\\x y\\f\"]\tName=[i] Value=[C:\\x y\\f]\tUsing Instance File",
                             "Arg 1: [list]\tName=[list] Value=[]\tRating Engine Command",
                             "Arg 2: [-q]\tName=[-q] Value=[]\tUnrecognized Parameter",
                             "Arg 3: [kl]\tName=[kl] Value=[]\tAppend Log Files",
                             "There are 1 rating engine commands on the command line."})
    expected += unit::Prefix("DEBUG X ", 1) + record + "\r\n";
  EXPECT_NE(log.find(expected), std::string::npos) << log;
  EXPECT_EQ(EngineCommands(l), (Args{"LIST"}));
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

// Lines longer than the copy, and lines that push the argument count or the string
// area to what the blocks hold: the copy is cut, the split is whole.
TEST_F(CommandLineTest, LongAndDenseLinesAreSplitWholeInsideTheBlocks) {
  auto repeat = [](std::string_view part, int n) {
    std::string text;
    while (n-- > 0) text += part;
    return text;
  };
  std::string words = "-d";
  for (int i = 0; i < 1000; ++i) words += " w" + std::to_string(i);
  const struct {
    std::string line;
    std::size_t count, commands;
    std::string last_argument, last_command;
  } cases[] = {{words, 1001, 1000, "w999", "W999"},
               {repeat("a ", 2001) + "a", 2002, 2002, "a", "A"},
               {repeat("\"\" ", 1500), 1500, 1500, "", ""},
               {"-d \"" + std::string(3000, 'q') + "\"", 1, 0, "d \"" + std::string(3000, 'q') + "\"", ""},
               {repeat("-a ", 1000), 1000, 1000, "a", "A"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.count);
    Launcher& l = NewLauncher();
    ASSERT_EQ(RunInitParams(l, c.line), std::nullopt);
    EXPECT_EQ(l.run.CommandLineCopy.view(), std::string_view(c.line).substr(0, 259));
    const Args arguments = Arguments(l, c.line);
    const Args commands = EngineCommands(l);
    ASSERT_EQ(std::make_tuple(arguments.size(), commands.size()), std::make_tuple(c.count, c.commands));
    EXPECT_EQ(arguments.back(), c.last_argument);
    EXPECT_EQ(commands.empty() ? "" : commands.back(), c.last_command);
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

}  // namespace
