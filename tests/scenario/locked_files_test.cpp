// Files the launcher may not overwrite (read-only, or held open by the running product)
// and copies that move fewer bytes than asked: each failure has its error record, and
// no file is lost or left half written.
#include <string>

#include "install/install_rules.h"
#include "tests/scenario/scenario_machine.h"

namespace scenario {
namespace {

struct HeldCase {
  const char* name;
  const char* mark;     // the installed a.cfg's [files] mark
  const char* command;  // a standard start or a replace, with logging
  const char* exit_line;
  const char* record;  // a part of an error record
};

class HeldFile : public ::testing::TestWithParam<HeldCase> {};

TEST_P(HeldFile, KeepsItsBytesAndIsReported) {
  const HeldCase& c = GetParam();
  InstallMachine m({ArchiveFile("a.cfg", "CUR", INSTALL_ALWAYS, "new")},
                   kAdminIni + "[files]\nC:\\Portavel\\a.cfg = " + c.mark + "\n");
  m.WriteC("Portavel/a.cfg", "old");
  EXPECT_EQ(m.ExitLine(c.command), c.exit_line);
  EXPECT_EQ(ReadText(m.C("Portavel/a.cfg")), "old");
  EXPECT_TRUE(m.Shows("error", c.record)) << c.record;
}

INSTANTIATE_TEST_SUITE_P(
    Marks, HeldFile,
    ::testing::Values(
        HeldCase{"ReadOnlyInstall", "readonly", "-d", "exit code 0",
                 "InstallEntry: L3; Error copying file. Destination file creation resulted in "
                 "INVALID_HANDLE_VALUE; [WIN32 0x00000005/C0005]"},
        HeldCase{"LockedInstall", "locked", "-d", "exit code 0",
                 "CheckToInstallEntry: An error occured attempting to open source file \"a.cfg\"; "
                 "[WIN32 0x00000020/C0032]"},
        // The backup is made, but the original cannot be overwritten.
        HeldCase{"ReadOnlyReplace", "readonly", "replace -d", "exit code 1627",
                 "INVALID_HANDLE_VALUE; [WIN32 0x00000005/C0005]"},
        HeldCase{"LockedReplace", "locked", "replace -d", "exit code 1627",
                 "Failed to back up file \"a.cfg\" to "
                 "C:\\ProgramData\\Veltrix\\backup-replace\\tcache1_001\\a.cfg; [WIN32 0x00000020/C0032]"}), ByName);

struct ShortCase {
  const char* fail;
  const char* record;
};

// a.bin is one block of 4,096 bytes and a last one of 904; ReadFile calls 1 and 2 read
// the archive's header and record table.
class ShortTransfer : public ::testing::TestWithParam<ShortCase> {};

TEST_P(ShortTransfer, IsReportedAndLeavesNoFile) {
  InstallMachine m({ArchiveFile("a.bin", "CUR", INSTALL_ALWAYS, std::string(5000, 'a'))},
                   kAdminIni + "[fail]\n" + GetParam().fail + "\n");
  EXPECT_EQ(m.ExitLine("-d"), "exit code 0");
  EXPECT_TRUE(m.Shows("error", GetParam().record)) << GetParam().record;
  EXPECT_FALSE(fs::exists(m.C("Portavel/a.bin")));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ShortTransfer,
    ::testing::Values(
        ShortCase{"ReadFile = 3:short",
                  "InstallEntry error: Error while reading source file \"a.bin\"; Expected 4096 bytes "
                  "read, 2048 actual bytes read."},
        ShortCase{"ReadFile = 4:short",
                  "InstallEntry error: Error while finalizing reading source file \"a.bin\"; Expected "
                  "904 bytes read, 452 actual bytes read."},
        ShortCase{"WriteFile = 1:short",
                  "InstallEntry error: Error while copying file \"a.bin\" to \"a.bin\"; bytes written "
                  "mismatch."},
        ShortCase{"WriteFile = 2:short",
                  "InstallEntry error: Error while copying file \"a.bin\" to \"a.bin\"; finalizing "
                  "bytes written mismatch."}));

}  // namespace
}  // namespace scenario
