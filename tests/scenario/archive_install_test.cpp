// Bringing the product's files up to date end to end: launcher-sim runs a standard
// start, a preload or a replace on machine folders whose tsystem0.dll is built in the
// test; the files, their bytes and their times are read back from the drives.
#include <map>
#include <tuple>
#include <string>
#include <vector>

#include "install/install_rules.h"
#include "tests/scenario/scenario_machine.h"
#include "tools/tabpack/archive_writer.h"

namespace scenario {
namespace {

using tabpack::MemoryFile;
using tabpack::UtcTime;

UtcTime Shifted(UtcTime t, int minutes_later, int seconds_later = 0) {
  t.minute += minutes_later;
  t.second += seconds_later;
  return t;
}

// Every file below the drive C folders `under`: its size, a hash of its bytes and its
// time, by path.
using FileState = std::tuple<std::size_t, std::size_t, fs::file_time_type>;
std::map<std::string, FileState> Snapshot(const Machine& m, const std::vector<std::string>& under) {
  std::map<std::string, FileState> files;
  for (const std::string& folder : under) {
    for (const auto& entry : fs::recursive_directory_iterator(m.C(folder))) {
      // Logs and shortcuts are written at the host's moment of the run, not the archive's.
      if (!entry.is_regular_file() || entry.path().extension() == ".log" || entry.path().extension() == ".LNK")
        continue;
      const std::string bytes = ReadText(entry.path());
      files[entry.path().lexically_relative(m.C("")).string()] = {
          bytes.size(), std::hash<std::string>{}(bytes), fs::last_write_time(entry.path())};
    }
  }
  return files;
}

enum class Present { Missing, Older, SameMinute, Newer, SecondsDiffer, SizeDiffers };

struct RuleCase {
  const char* name;
  std::uint32_t rule;
  Present present;
  bool installed;
};

// The record is "new bytes" (9 bytes) at kRecordTime; the installed file holds "old bytes"
// (9 bytes) or, for SizeDiffers, "old" at the same minute.
class InstallRule : public ::testing::TestWithParam<RuleCase> {};

TEST_P(InstallRule, InstallsExactlyWhenTheRuleSaysSo) {
  const RuleCase& c = GetParam();
  InstallMachine m({ArchiveFile("tsystem1.cfg", "CUR", c.rule, "new bytes")});
  const UtcTime installed_time = c.present == Present::Older        ? Shifted(kRecordTime, -1)
                                 : c.present == Present::Newer      ? Shifted(kRecordTime, 1)
                                 : c.present == Present::SecondsDiffer ? Shifted(kRecordTime, 0, 30)
                                                                    : kRecordTime;
  if (c.present != Present::Missing)
    m.Installed("Portavel/tsystem1.cfg", c.present == Present::SizeDiffers ? "old" : "old bytes",
                installed_time);
  ASSERT_EQ(m.ExitLine("-d"), "exit code 0");
  const bool installed = ReadText(m.C("Portavel/tsystem1.cfg")) == "new bytes";
  EXPECT_EQ(installed, c.installed);
  EXPECT_EQ(fs::last_write_time(m.C("Portavel/tsystem1.cfg")),
            installed ? HostTime(kRecordTime) : HostTime(installed_time));
  EXPECT_EQ(Contains(m.DebugLog(), "CheckToInstallEntry: This entry is installed and up-to-date."),
            !c.installed);
  EXPECT_FALSE(Contains(m.ErrorLog(), "ERROR"));
}

INSTANTIATE_TEST_SUITE_P(
    Rules, InstallRule,
    ::testing::Values(
        RuleCase{"DifferentMissing", INSTALL_DIFFERENT, Present::Missing, true},
        RuleCase{"DifferentOlder", INSTALL_DIFFERENT, Present::Older, true},
        RuleCase{"DifferentSameMinute", INSTALL_DIFFERENT, Present::SameMinute, false},
        RuleCase{"DifferentNewer", INSTALL_DIFFERENT, Present::Newer, true},
        RuleCase{"DifferentSecondsOnly", INSTALL_DIFFERENT, Present::SecondsDiffer, false},
        RuleCase{"DifferentSize", INSTALL_DIFFERENT, Present::SizeDiffers, true},
        RuleCase{"NewerMissing", INSTALL_NEWER, Present::Missing, true},
        RuleCase{"NewerOlder", INSTALL_NEWER, Present::Older, true},
        RuleCase{"NewerSameMinute", INSTALL_NEWER, Present::SameMinute, false},
        RuleCase{"NewerNewer", INSTALL_NEWER, Present::Newer, false},
        RuleCase{"NewerSize", INSTALL_NEWER, Present::SizeDiffers, false},
        RuleCase{"AlwaysSameMinute", INSTALL_ALWAYS, Present::SameMinute, true},
        RuleCase{"AlwaysNewer", INSTALL_ALWAYS, Present::Newer, true},
        RuleCase{"DoesNotExistMissing", INSTALL_DOES_NOT_EXIST, Present::Missing, true},
        RuleCase{"DoesNotExistOlder", INSTALL_DOES_NOT_EXIST, Present::Older, false},
        RuleCase{"UpgradeIsNoRule", INSTALL_UPGRADE, Present::Older, false}), ByName);

struct DestinationCase {
  const char* name;
  const char* ini;  // besides the administrator's token
  const char* code;
  const char* path_on_c;  // empty: nothing is installed anywhere
};

class Destination : public ::testing::TestWithParam<DestinationCase> {};

TEST_P(Destination, ResolvesTheCodeByTheSystemsWidth) {
  const DestinationCase& c = GetParam();
  InstallMachine m({ArchiveFile("veltrix.dll", c.code, INSTALL_ALWAYS, "library")}, kAdminIni + c.ini);
  for (const char* folder : {"Windows/System32", "Windows/SysWOW64", "Windows/Fonts"})
    fs::create_directories(m.C(folder));
  ASSERT_EQ(m.ExitLine("-d"), "exit code 0");
  std::vector<std::string> installed;
  for (const auto& [path, file] : Snapshot(m, {"Portavel", "Windows"}))
    if (path.find("veltrix.dll") != std::string::npos) installed.push_back(path);
  EXPECT_EQ(installed, *c.path_on_c ? std::vector<std::string>{c.path_on_c} : std::vector<std::string>{});
  // A 32-bit Windows has no registry reflection: the configuration key's check and
  // repair fail there on every run, and nothing else may.
  for (const std::string& line : m.ErrorLog())
    EXPECT_TRUE(std::string(c.ini).find("architecture = 0") != std::string::npos &&
                (line.find("reflection") != std::string::npos || line.find("FormatErrorString") != std::string::npos))
        << line;
}

INSTANTIATE_TEST_SUITE_P(
    Codes, Destination,
    ::testing::Values(
        DestinationCase{"Cur", "", "CUR", "Portavel/veltrix.dll"},
        DestinationCase{"Fon", "", "FON", "Windows/Fonts/veltrix.dll"},
        DestinationCase{"Win", "", "WIN", "Windows/veltrix.dll"},
        DestinationCase{"SysUnderWow64", "", "SYS", "Windows/SysWOW64/veltrix.dll"},
        DestinationCase{"SysLowerCase", "", "sys", "Windows/SysWOW64/veltrix.dll"},
        DestinationCase{"S64UnderWow64", "", "S64", "Windows/System32/veltrix.dll"},
        DestinationCase{"SysOf64BitLauncher", "[launcher]\nbits = 64\n", "SYS", "Windows/SysWOW64/veltrix.dll"},
        DestinationCase{"S64Of64BitLauncher", "[launcher]\nbits = 64\n", "S64", "Windows/System32/veltrix.dll"},
        DestinationCase{"SysOn32BitWindows", "[os]\narchitecture = 0\n", "SYS", "Windows/System32/veltrix.dll"},
        DestinationCase{"S64On32BitWindows", "[os]\narchitecture = 0\n", "S64", "Windows/System32/veltrix.dll"},
        DestinationCase{"UnknownCodeIsSkipped", "", "XYZ", ""}), ByName);

TEST(ArchiveInstall, EmptyAndTwoBlockRecordsAreCopiedWholeAndStampedToTheMillisecond) {
  const std::string two_blocks(8192, 'x');
  InstallMachine m({ArchiveFile("empty.txt", "CUR", INSTALL_ALWAYS, ""),
                    ArchiveFile("two-blocks.bin", "CUR", INSTALL_ALWAYS, two_blocks),
                    ArchiveFile("odd.bin", "CUR", INSTALL_ALWAYS, std::string(4097, 'y'))});
  ASSERT_EQ(m.ExitLine(""), "exit code 0");
  EXPECT_EQ(ReadText(m.C("Portavel/empty.txt")), "");
  EXPECT_EQ(ReadText(m.C("Portavel/two-blocks.bin")), two_blocks);
  EXPECT_EQ(ReadText(m.C("Portavel/odd.bin")), std::string(4097, 'y'));
  for (const char* name : {"Portavel/empty.txt", "Portavel/two-blocks.bin", "Portavel/odd.bin"})
    EXPECT_EQ(fs::last_write_time(m.C(name)), HostTime(kRecordTime)) << name;
}

TEST(ArchiveInstall, AFailedTimeStampIsNotCheckedAndLeavesTheCopysOwnTime) {
  InstallMachine m({ArchiveFile("a.cfg", "CUR", INSTALL_ALWAYS, "new")}, kAdminIni + "[fail]\nSetFileTime = 1\n");
  ASSERT_EQ(m.ExitLine("-d"), "exit code 0");
  EXPECT_EQ(ReadText(m.C("Portavel/a.cfg")), "new");
  EXPECT_NE(fs::last_write_time(m.C("Portavel/a.cfg")), HostTime(kRecordTime));
  EXPECT_FALSE(Contains(m.ErrorLog(), "ERROR"));
}

TEST(ArchiveInstall, EveryDecisionIsLoggedWithItsSummary) {
  InstallMachine m({ArchiveFile("tsystem1.cfg", "CUR", INSTALL_NEWER, "new bytes"),
                    ArchiveFile("tsystem2.cfg", "CUR", INSTALL_NEWER, "new bytes"),
                    ArchiveFile("tsystem3.cfg", "CUR", INSTALL_NEWER, "new bytes")},
                   kAdminIni + "[files]\nC:\\Portavel\\tsystem3.cfg = locked\n");
  m.Installed("Portavel/tsystem1.cfg", "old", Shifted(kRecordTime, -1));
  m.Installed("Portavel/tsystem3.cfg", "old", Shifted(kRecordTime, -1));
  ASSERT_EQ(m.ExitLine("-d"), "exit code 0");
  for (const char* summary : {"\"tsystem1.cfg\" Current File: 11-30-2026 16:19 3,  Installer File: 11-30-2026 16:20 9",
                              "\"tsystem2.cfg\" Current File: Not Installed,  Installer File: 11-30-2026 16:20 9",
                              "\"tsystem3.cfg\" Current File: Unknown,  Installer File: 11-30-2026 16:20 9"})
    EXPECT_TRUE(m.Shows("debug", std::string("CheckToInstallEntry: InstallType is INSTALL_NEWER: ") + summary)) << summary;
  EXPECT_TRUE(m.Shows("debug", "CheckToInstallEntry: Installing/Upgrading tsystem1.cfg..."));
}

TEST(ArchiveInstall, AUserWhoRefusesElevationGetsAnErrorPerEntryAndKeepsTheOldFiles) {
  InstallMachine m({ArchiveFile("a.cfg", "CUR", INSTALL_ALWAYS, "new"), ArchiveFile("b.cfg", "CUR", INSTALL_ALWAYS, "new")},
                   "[machine]\nclock = 2026-12-06T08:30:00\n[ui]\nelevation_dialog = cancel\n");
  m.Installed("Portavel/a.cfg", "old", kRecordTime);
  ASSERT_EQ(m.ExitLine("-d"), "exit code 0");
  EXPECT_EQ(ReadText(m.C("Portavel/a.cfg")), "old");
  EXPECT_FALSE(fs::exists(m.C("Portavel/b.cfg")));
  const auto errors = m.ErrorLog();
  EXPECT_TRUE(Contains(errors, "RequestElevatedRights: User has denied elevation."));
  EXPECT_EQ(CountLines(errors, "CheckToInstallEntry: Tavix Entry install failed: Authority failure. You must be "
                               "an administrator."),
            2u);
  EXPECT_TRUE(Contains(errors, "InstallTABFile: The attempt to install or upgrade b.cfg has failed."));
}

// A run that fails while copying, followed by a clean run, leaves what one clean run
// leaves: the failed copy left no file, so the next run installs it again.
class InterruptedUpgrade : public ::testing::TestWithParam<const char*> {};

TEST_P(InterruptedUpgrade, IsCompletedByTheNextRun) {
  const std::vector<MemoryFile> files = {ArchiveFile("a.bin", "CUR", INSTALL_NEWER, std::string(8192, 'a')),
                                         ArchiveFile("b.bin", "WIN", INSTALL_DIFFERENT, std::string(5000, 'b')),
                                         ArchiveFile("c.bin", "CUR", INSTALL_ALWAYS, "c")};
  auto prepare = [](const InstallMachine& m) {
    m.Installed("Portavel/a.bin", "old a", Shifted(kRecordTime, -5));
    m.Installed("Windows/b.bin", "old b", Shifted(kRecordTime, 5));
  };
  InstallMachine once(files);
  prepare(once);
  ASSERT_EQ(once.ExitLine(""), "exit code 0");

  InstallMachine twice(files, kAdminIni + "[fail]\n" + GetParam() + "\n");
  prepare(twice);
  ASSERT_EQ(twice.ExitLine("-d"), "exit code 0");
  EXPECT_TRUE(Contains(twice.ErrorLog(), "InstallEntry"));
  twice.Write("machine.ini", kAdminIni);
  ASSERT_EQ(twice.ExitLine(""), "exit code 0");
  // The launcher, the archive, the registration utility and win.ini are written by the
  // test, at different moments.
  for (InstallMachine* m : {&once, &twice})
    for (const char* file : {"Portavel/tsystem1.exe", "Portavel/tsystem0.dll", "Portavel/UTL/InstCOM.exe",
                             "Windows/win.ini"})
      fs::remove(m->C(file));
  EXPECT_EQ(Snapshot(twice, {"Portavel", "Windows"}), Snapshot(once, {"Portavel", "Windows"}));
}

// ReadFile calls 1 and 2 read the archive's header and record table.
INSTANTIATE_TEST_SUITE_P(Faults, InterruptedUpgrade,
                         ::testing::Values("ReadFile = 3", "ReadFile = 4", "ReadFile = 5",
                                           "ReadFile = 6", "WriteFile = 1", "WriteFile = 2",
                                           "WriteFile = 4:112", "CreateFile = 3"));

// Replace mode: every file backed up into a fresh numbered set, then overwritten.
const std::vector<MemoryFile> kReplaceFiles = {ArchiveFile("a.cfg", "CUR", INSTALL_NEWER, "new a"),
                                               ArchiveFile("b.dll", "SYS", INSTALL_DIFFERENT, "new b"),
                                               ArchiveFile("c.ttf", "FON", INSTALL_ALWAYS, "new c"),
                                               ArchiveFile("d.ini", "WIN", INSTALL_ALWAYS, "new d")};
const std::vector<std::pair<std::string, std::string>> kOriginals = {
    {"Portavel/a.cfg", "ProgramData/Veltrix/backup-replace/tcache1_001/a.cfg"},
    {"Windows/SysWOW64/b.dll", "ProgramData/Veltrix/backup-replace/SysWOW64_001/b.dll"},
    {"Windows/Fonts/c.ttf", "ProgramData/Veltrix/backup-replace/Fonts_001/c.ttf"},
    {"Windows/d.ini", "ProgramData/Veltrix/backup-replace/Windows_001/d.ini"}};
const std::string kReplaced =
    "MESSAGEBOX caption=\"C:\\Portavel\\Tavix.exe\" style=0x00050000 "
    "text=\"System files successfully replaced!\" answer=ok";
const std::string kNotReplaced =
    "MESSAGEBOX caption=\"C:\\Portavel\\Tavix.exe\" style=0x00050000 "
    "text=\"Not all system files could be replaced.\\nCheck replace.log for details.\" answer=ok";

InstallMachine& WithOriginals(InstallMachine& m) {
  for (const auto& [path, backup] : kOriginals) m.Installed(path, "old " + path, Shifted(kRecordTime, 7));
  return m;
}

// On a fresh machine the sets are made all the same, with nothing backed up.
TEST(ReplaceMode, BacksEveryFileUpWithItsTimeIntoTheFirstNumberedSetsThenOverwritesIt) {
  for (const bool originals : {false, true}) {
    SCOPED_TRACE(originals ? "over older originals" : "on a fresh machine");
    InstallMachine m(kReplaceFiles);
    for (const char* folder : {"Windows/SysWOW64", "Windows/Fonts"}) fs::create_directories(m.C(folder));
    if (originals) WithOriginals(m);
    EXPECT_EQ(m.ExitLine("replace"), "exit code 0");
    const auto ui = m.Lines("ui.log");
    ASSERT_GE(ui.size(), 3u);
    EXPECT_EQ(ui.front(), "DIALOG VERIFYDIALOG title=\"Replace system files\"");
    EXPECT_EQ(ui.end()[-2], kReplaced);
    EXPECT_EQ(ui.back(), "CLOSE VERIFYDIALOG");
    for (const auto& [path, backup] : kOriginals) {
      EXPECT_EQ(ReadText(m.C(path)).substr(0, 4), "new ");
      EXPECT_EQ(fs::last_write_time(m.C(path)), HostTime(kRecordTime));
      ASSERT_EQ(fs::exists(m.C(backup)), originals) << backup;
      if (!originals) continue;
      EXPECT_EQ(ReadText(m.C(backup)), "old " + path);
      EXPECT_EQ(fs::last_write_time(m.C(backup)), HostTime(Shifted(kRecordTime, 7)));
    }
    for (const char* set : {"tcache1_001", "Fonts_001", "Windows_001", "System32_001", "SysWOW64_001"})
      EXPECT_TRUE(fs::is_directory(m.C(std::string("ProgramData/Veltrix/backup-replace/") + set))) << set;
  }
}

// A second run takes a numbered folder again while it is empty and the next number
// once the first run backed files up into it.
struct NumberingCase {
  const char* name;
  const char* command;
  bool originals;           // the first run finds files to back up
  const char* second_fail;  // the second run's [fail] line
  const char* made;         // below ProgramData/Veltrix after the second run
  const char* not_made;
};

class BackupNumbering : public ::testing::TestWithParam<NumberingCase> {};

TEST_P(BackupNumbering, OfASecondRun) {
  const NumberingCase& c = GetParam();
  InstallMachine m(kReplaceFiles);
  for (const char* folder : {"Windows/SysWOW64", "Windows/Fonts"}) fs::create_directories(m.C(folder));
  if (c.originals) WithOriginals(m);
  ASSERT_EQ(m.ExitLine(c.command), "exit code 0");
  m.Write("machine.ini", kAdminIni + "[fail]\n" + c.second_fail + "\n");
  ASSERT_EQ(m.ExitLine(c.command), "exit code 0");
  const fs::path veltrix = m.C("ProgramData/Veltrix");
  EXPECT_TRUE(fs::exists(veltrix / c.made));
  EXPECT_FALSE(fs::exists(veltrix / c.not_made));
  if (c.originals) {
    EXPECT_EQ(ReadText(veltrix / "backup-replace/tcache1_001/a.cfg"), "old Portavel/a.cfg");
  }
}

INSTANTIATE_TEST_SUITE_P(
    SecondRun, BackupNumbering,
    ::testing::Values(
        NumberingCase{"StartAfterAStart", "-d", false, "", "backup/tcache1_001", "backup/tcache1_002"},
        NumberingCase{"StartWhenEmptinessCannotBeTold", "-d", false, "PathIsDirectoryEmpty = 1",
                      "backup/tcache1_002", "backup/Fonts_002"},
        NumberingCase{"ReplaceAfterOneThatBackedNothingUp", "replace", false, "",
                      "backup-replace/tcache1_001/a.cfg", "backup-replace/tcache1_002"},
        NumberingCase{"ReplaceAfterOneThatBackedUpFiles", "replace", true, "",
                      "backup-replace/tcache1_002/a.cfg", "backup-replace/System32_002"}), ByName);

// After a failed backup or copy every original is in place or in its backup set.
class FailingReplace : public ::testing::TestWithParam<const char*> {};

TEST_P(FailingReplace, LosesNoOriginalAndEndsWith1627) {
  InstallMachine m(kReplaceFiles, kAdminIni + "[fail]\n" + GetParam() + "\n");
  WithOriginals(m);
  EXPECT_EQ(m.ExitLine("replace"), "exit code 1627");
  EXPECT_TRUE(Contains(m.Lines("ui.log"), kNotReplaced));
  for (const auto& [path, backup] : kOriginals) {
    const std::string original = "old " + path;
    const bool kept = fs::exists(m.C(path)) && ReadText(m.C(path)) == original;
    const bool backed_up = fs::exists(m.C(backup)) && ReadText(m.C(backup)) == original;
    EXPECT_TRUE(kept || backed_up) << path;
  }
}

// CreateFile call 1 opens the archive; FindFirstFile calls 1 to 5 number the set.
INSTANTIATE_TEST_SUITE_P(Faults, FailingReplace,
                         ::testing::Values("CopyFile = 1", "CopyFile = 2:32, 4", "FindFirstFile = 7",
                                           "CreateFile = 2", "ReadFile = 4", "WriteFile = 1:112",
                                           "CreateDirectory = 1", "CreateDirectory = 2"));

TEST(ReplaceMode, AFolderWhereAFileShouldBeIsNotReplaced) {
  InstallMachine m({ArchiveFile("a.cfg", "CUR", INSTALL_ALWAYS, "new a")});
  fs::create_directories(m.C("Portavel/a.cfg"));
  EXPECT_EQ(m.ExitLine("replace -d"), "exit code 1627");
  EXPECT_TRUE(Contains(m.ErrorLog(), "Failed to back up file \"a.cfg\" to "
                                     "C:\\ProgramData\\Veltrix\\backup-replace\\tcache1_001\\a.cfg; "
                                     "[WIN32 0x00000005/C0005]"));
  EXPECT_TRUE(fs::is_directory(m.C("Portavel/a.cfg")));
}

// Without its configuration location no backup set is made: a file not installed yet
// needs no backup and is written, one already there is kept rather than overwritten
// unbacked.
TEST(ReplaceMode, WithoutABackupSetOnlyFilesNotYetInstalledAreWritten) {
  // The fifth switch of redirection is d.ini's backup: when it fails, whether the file
  // is there cannot be told, and it is not replaced either.
  for (const char* fail : {"", "Wow64DisableWow64FsRedirection = 5"}) {
    SCOPED_TRACE(fail);
    InstallMachine m({ArchiveFile("a.cfg", "CUR", INSTALL_ALWAYS, "new a"),
                      ArchiveFile("d.ini", "WIN", INSTALL_ALWAYS, "new d")},
                     kAdminIni + "[fail]\n" + fail + "\n");
    m.Installed("Windows/d.ini", "old d", kRecordTime);
    fs::remove_all(m.C("ProgramData/Veltrix"));
    EXPECT_EQ(m.ExitLine("replace -d"), "exit code 1627");
    EXPECT_TRUE(m.Shows("error", "Tavix backup folder creation failed: The configuration location "
                                 "\"C:\\ProgramData\\Veltrix\\\" is missing."));
    EXPECT_EQ(ReadText(m.C("Portavel/a.cfg")), "new a");
    EXPECT_EQ(ReadText(m.C("Windows/d.ini")), "old d");
    EXPECT_EQ(CountLines(m.ErrorLog(), "Failed to back up file"), 1u);
  }
}

// A destination path too long for its buffer is never cut: the file is not replaced,
// and the error log says why.
TEST(ReplaceMode, ADestinationPathTooLongIsReportedAndNotCut) {
  std::string fonts = "C:";
  for (int i = 0; i < 5; ++i) fonts += "\\" + std::string(50, 'f');
  InstallMachine m({ArchiveFile("c.ttf", "FON", INSTALL_ALWAYS, "new c")}, kAdminIni + "[folders]\nfonts = " + fonts + "\n");
  EXPECT_EQ(m.ExitLine("replace -d"), "exit code 1627");
  EXPECT_TRUE(m.Shows("error", "InstallTABFile: The destination path of c.ttf is too long; the file is not replaced."));
  EXPECT_FALSE(Contains(m.ErrorLog(), "Failed to back up"));
}

}  // namespace
}  // namespace scenario
