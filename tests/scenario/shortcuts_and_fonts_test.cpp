// Scenario tests of the launcher's four shortcuts and the session's four fonts, and of
// the failures of the shell link object and of font registration.
#include <string>
#include <vector>

#include "tests/scenario/scenario_machine.h"

namespace scenario {
namespace {

constexpr const char* kStartMenu = "Users/clerk/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Veltrix Solutions/";
// The four links, in the order the launcher writes them.
const std::vector<std::string> kLinks = {std::string(kStartMenu) + "Veltrix Dovrel.LNK",
                                         std::string(kStartMenu) + "Diagnostics/Veltrix Dovrel (Diagnostic Mode).LNK",
                                         "Portavel/Veltrix Dovrel (Diagnostic Mode).LNK",
                                         "Portavel/Veltrix Dovrel (Clear Users).LNK"};

TEST(FirstRun, WritesAllFourLinksToTheLauncherAndRegistersTheFourFontsInOrder) {
  Machine m;
  m.WriteC("Windows/Fonts/CODE128W.ttf", "font");
  m.Run("");
  for (const auto& link : kLinks) EXPECT_TRUE(fs::exists(m.C(link))) << link;
  EXPECT_EQ(ReadText(m.C(kLinks[3])),
            "[Shortcut]\r\nTarget=C:\\Portavel\\Tavix.exe\r\nArguments=-i CLEAR\r\nWorkingDirectory=C:\\Portavel\r\n"
            "Description=Starts the Dovrel PV launcher program and force clears all active users from the system.\r\n"
            "IconLocation=C:\\Portavel\\Tavix.exe,0\r\n");
  std::vector<std::string> fonts;
  for (const auto& line : m.Lines("system.log"))
    if (line.rfind("ADDFONT", 0) == 0) fonts.push_back(line);
  EXPECT_EQ(fonts, (std::vector<std::string>{"ADDFONT \"C:\\Windows\\Fonts\\Norvane Narrow Normal.ttf\" result=0",
                                             "ADDFONT \"C:\\Windows\\Fonts\\norvanenarrowbold.ttf\" result=0",
                                             "ADDFONT \"C:\\Windows\\Fonts\\Norvanenarrowsemibold.ttf\" result=0",
                                             "ADDFONT \"C:\\Windows\\Fonts\\CODE128W.ttf\" result=1"}));
  EXPECT_TRUE(m.ErrorLog().empty());
}

struct LinkCase {
  const char* name;
  const char* command_line;
  bool clear_users_deleted;  // the user deleted the Clear Users link after the first run
  std::size_t written;       // links written by the second run
};

class SecondRun : public ::testing::TestWithParam<LinkCase> {};

TEST_P(SecondRun, WritesOnlyMissingLinksUnlessRepairing) {
  const LinkCase& c = GetParam();
  Machine m;
  m.Run("");
  if (c.clear_users_deleted) fs::remove(m.C(kLinks[3]));
  fs::remove(m.C("Portavel/TavixDebug.log"));
  m.Run(c.command_line);
  EXPECT_EQ(CountLines(m.DebugLog(), "CreateShortcut: Shortcut created successfully."), c.written);
  for (const auto& link : kLinks) EXPECT_TRUE(fs::exists(m.C(link))) << link;
}

INSTANTIATE_TEST_SUITE_P(Cases, SecondRun,
                         ::testing::Values(LinkCase{"AllPresent", "-d", false, 0},
                                           LinkCase{"OneDeleted", "-d", true, 1},
                                           LinkCase{"Repair", "-d -r", false, 4}), ByName);

// The sample workstation of tools/try-sample ships the four fonts its run registers.
TEST(Fonts, TheSampleWorkstationHasAllFour) {
  Machine m;
  fs::copy(PORTAVEL_SOURCE_DIR "/samples/workstation", m.root(),
           fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  m.Run("");
  std::vector<std::string> lines = m.Lines("system.log");
  EXPECT_EQ(CountLines(lines, "ADDFONT \"C:\\Windows\\Fonts\\"), 4u);
  EXPECT_EQ(CountLines(lines, "result=1"), 4u);
}

struct OperationFault {
  const char* name;
  const char* fail;      // the [fail] line
  const char* log;       // "error" or "system"
  const char* expected;  // a text of that log
};

class NewOperationFault : public ::testing::TestWithParam<OperationFault> {};

TEST_P(NewOperationFault, IsReportedAndTheRunGoesOn) {
  const OperationFault& c = GetParam();
  Machine m;
  m.WriteC("Windows/Fonts/CODE128W.ttf", "font");
  m.Append("machine.ini", std::string("[fail]\n") + c.fail + "\n");
  RunResult run = m.Run("-d");
  EXPECT_EQ(LastLine(run.out), "exit code 0");
  EXPECT_TRUE(Contains(std::string(c.log) == "error" ? m.ErrorLog() : m.Lines("system.log"), c.expected))
      << c.expected;
  // The product is started all the same.
  EXPECT_TRUE(Contains(m.Lines("processes.log"), "CREATE app=\"C:\\Portavel\\tsystem1.exe\""));
}

INSTANTIATE_TEST_SUITE_P(
    Operations, NewOperationFault,
    ::testing::Values(
        OperationFault{"CoCreateInstance", "CoCreateInstance = 1", "error",
                       "CreateShortcut: Unable to create instance of IShellLink; "},
        OperationFault{"QueryInterface", "QueryInterface = 2", "error",
                       "CreateShortcut: Unable to query interface IPersistFile from IShellLink; "},
        OperationFault{"SaveShellLink", "SaveShellLink = 4", "error",
                       "CreateShortcut: Call to IPersistFile::Save failed; "},
        OperationFault{"AddFontResource", "AddFontResource = 4", "system",
                       "ADDFONT \"C:\\Windows\\Fonts\\CODE128W.ttf\" result=0"}), ByName);

// A failed setter is only recorded: the link is written all the same, without that field.
TEST(Shortcuts, AFailedSetterLeavesItsFieldEmpty) {
  Machine m;
  m.Append("machine.ini", "[fail]\nSetShellLinkField = 4\n");
  m.Run("-d");
  EXPECT_TRUE(Contains(m.Lines(std::string("drives/C/") + kLinks[0]), "Arguments="));
  EXPECT_FALSE(Contains(m.Lines(std::string("drives/C/") + kLinks[0]), "Arguments=-i"));
  EXPECT_TRUE(m.ErrorLog().empty());
}

}  // namespace
}  // namespace scenario
