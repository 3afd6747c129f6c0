// Scenario tests of the COM library step: which libraries of redist\ a standard start
// replaces in the 32-bit system folder, how it drives the registration utility, and
// what it makes of the utility's exit codes.
#include <algorithm>
#include <string>
#include <vector>

#include "tests/scenario/scenario_machine.h"

namespace scenario {
namespace {

constexpr const char* kSource = "Portavel/redist/Veltrix.Bridge.dll";
constexpr const char* kInstalled = "Windows/SysWOW64/Veltrix.Bridge.dll";
constexpr const char* kBackup = "ProgramData/Veltrix/backup/SysWOW64_001/Veltrix.Bridge.dll";

// The utility's runs, in order: "-U" for an un-registration, "+" for a registration.
std::string UtilityRuns(const Machine& m) {
  std::string runs;
  for (const auto& line : m.Lines("processes.log"))
    if (line.rfind("SHELL", 0) == 0 && line.find("InstCOM.exe") != std::string::npos)
      runs += line.find("-Q -U") != std::string::npos ? "-U" : "+";
  return runs;
}

// An administrator's 64-bit workstation with one library in redist\ (its version in
// `offered`, none when empty) and, when `installed` is not empty, an installed copy of
// that version; `ini` is appended to machine.ini.
void Library(Machine& m, const std::string& offered, const std::string& installed, const std::string& ini = "") {
  std::string versions = "[versions]\n";
  fs::create_directories(m.C("Windows/SysWOW64"));
  m.WriteC(kSource, "new library");
  if (!offered.empty()) versions += "C:\\Portavel\\redist\\Veltrix.Bridge.dll = " + offered + "\n";
  if (!installed.empty()) {
    m.WriteC(kInstalled, "old library");
    versions += "C:\\Windows\\SysWOW64\\Veltrix.Bridge.dll = " + installed + "\n";
  }
  m.Append("machine.ini", "[user]\ntoken_admin = true\nelevated = true\n" + versions + ini);
}

struct VersionCase {
  const char* name;
  const char* offered;    // empty: no version resource
  const char* installed;  // empty: not installed
  const char* command_line;
  const char* runs;  // the utility's runs
  bool replaced;
};

class ComVersions : public ::testing::TestWithParam<VersionCase> {};

TEST_P(ComVersions, ALibraryIsReplacedExactlyWhenMissingOlderOrRepaired) {
  const VersionCase& c = GetParam();
  Machine m;
  Library(m, c.offered, c.installed);
  m.Run(c.command_line);
  EXPECT_EQ(UtilityRuns(m), c.runs);
  EXPECT_EQ(ReadText(m.C(kInstalled)), c.replaced ? "new library" : (*c.installed ? "old library" : ""));
  // The replaced copy is kept in the run's backup set.
  EXPECT_EQ(fs::exists(m.C(kBackup)), c.replaced && *c.installed);
  EXPECT_TRUE(m.ErrorLog().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ComVersions,
    ::testing::Values(VersionCase{"Missing", "1.2.3.4", "", "-d", "+", true},
                      VersionCase{"Older", "1.2.3.5", "1.2.3.4", "-d", "-U+", true},
                      VersionCase{"Equal", "1.2.3.4", "1.2.3.4", "-d", "", false},
                      VersionCase{"NewerByNumberNotText", "1.9.9.9", "1.10.0.0", "-d", "", false},
                      VersionCase{"SourceUnversioned", "", "1.0.0.0", "-d", "", false},
                      VersionCase{"BothUnversioned", "", "", "-d", "+", true},
                      VersionCase{"RepairOfEqual", "1.2.3.4", "1.2.3.4", "-d -r", "-U+", true},
                      VersionCase{"RepairOfUnversioned", "", "2.0.0.0", "-d -r", "-U+", true}), ByName);

struct ExitCase {
  const char* name;
  const char* code;
  const char* record;  // empty: none
  bool error;
};

class InstComExit : public ::testing::TestWithParam<ExitCase> {};

TEST_P(InstComExit, EachExitCodeOfTheRegistrationHasItsRecord) {
  const ExitCase& c = GetParam();
  Machine m;
  Library(m, "1.0.0.0", "", std::string("[programs]\nC:\\Portavel\\UTL\\InstCOM.exe = ") + c.code + "\n");
  m.Run("-d");
  EXPECT_EQ(UtilityRuns(m), "+");
  EXPECT_EQ(ReadText(m.C(kInstalled)), "new library");
  if (*c.record) {
    EXPECT_TRUE(Contains(c.error ? m.ErrorLog() : m.DebugLog(), c.record)) << c.record;
  }
  EXPECT_EQ(m.ErrorLog().empty(), !c.error);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, InstComExit,
    ::testing::Values(ExitCase{"Success", "0", "InstCOM: Assembly registered successfully.", false},
                      ExitCase{"Invalid", "100", "InstCOM: ERROR!!! Target file is invalid.", true},
                      ExitCase{"Missing", "200", "InstCOM: ERROR!!! Target file does not exist.", true},
                      ExitCase{"NotLoaded", "300", "InstCOM: ERROR!!! Failed to load assembly.", true},
                      ExitCase{"Failed", "500", "InstCOM: ERROR!!! Failed to[un]register assembly.", true},
                      ExitCase{"Unknown", "7", "", false},
                      ExitCase{"MinusOne", "-1", "", false}), ByName);

TEST(ComInstall, AFailedUnregistrationKeepsTheOldLibrary) {
  Machine m;
  Library(m, "2.0.0.0", "1.0.0.0", "[programs]\nC:\\Portavel\\UTL\\InstCOM.exe = 400\n");
  m.Run("-d");
  EXPECT_EQ(UtilityRuns(m), "-U");
  EXPECT_EQ(ReadText(m.C(kInstalled)), "old library");
  EXPECT_TRUE(Contains(m.ErrorLog(), "InstCOM: ERROR!!! Failed to [un]register assembly."));
}

TEST(ComInstall, WithoutTheUtilityNoLibraryIsTouched) {
  Machine m;
  Library(m, "2.0.0.0", "1.0.0.0");
  fs::remove(m.C("Portavel/UTL/InstCOM.exe"));
  m.Run("-d");
  EXPECT_EQ(ReadText(m.C(kInstalled)), "old library");
  EXPECT_TRUE(Contains(m.ErrorLog(), "Tavix COM assemblies check/install failed: Could not find InstCOM.exe."));
}

TEST(ComInstall, WithoutRightsTheLibraryStaysAsItIs) {
  Machine m;
  fs::create_directories(m.C("Windows/SysWOW64"));
  m.WriteC(kSource, "new library");
  m.Append("machine.ini", "[ui]\nelevation_dialog = cancel\n");
  m.Run("-d");
  EXPECT_FALSE(fs::exists(m.C(kInstalled)));
  EXPECT_TRUE(Contains(m.ErrorLog(), "Authority failure. You must be an administrator."));
}

TEST(ComInstall, AListingThatBreaksOffIsReported) {
  Machine m;
  Library(m, "1.0.0.0", "");
  m.WriteC("Portavel/redist/Veltrix.Second.dll", "second");
  m.Append("machine.ini", "[fail]\nFindNextFile = 1:87\n");
  m.Run("-d");
  EXPECT_TRUE(Contains(m.ErrorLog(), "Tavix COM assemblies check / install failed : Error while reading source "
                                     "directory; [WIN32 0x00000057/C0087]"));
  EXPECT_FALSE(fs::exists(m.C("Windows/SysWOW64/Veltrix.Second.dll")));
}

}  // namespace
}  // namespace scenario
