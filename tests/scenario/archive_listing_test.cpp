// The list mode end to end: launcher-sim run with "list" on machine folders whose
// tsystem0.dll is built in the test, filelist.txt compared byte for byte, problems
// seen on standard output.
#include <string>
#include <vector>

#include "install/install_rules.h"
#include "tests/scenario/scenario_machine.h"
#include "tools/tabpack/archive_writer.h"

namespace scenario {
namespace {

using tabpack::MemoryFile;

// Five hours west of UTC, so that local times fall on other days and years.
const std::string kMachineIni = "[machine]\nclock = 2026-12-06T08:30:00\nutc_offset = -300\n";

// The archive on the machine, last written at 14:00 UTC on 5 December 2026.
void PutArchive(const Machine& m, const std::vector<MemoryFile>& files) {
  m.WriteC("Portavel/tsystem0.dll", tabpack::BuildArchive(files));
  fs::last_write_time(m.C("Portavel/tsystem0.dll"), HostTime({2026, 12, 5, 14, 0, 0, 0}));
}

const std::string kHead = "\r\n\r\n";
const std::string kColumns =
    "Filename                    Date          Time            Size    Location      Install      \r\n"
    "------------------------    ----------    --------    --------    ----------    ------------\r\n";

TEST(ListMode, WritesTheArchiveLineTheColumnsAndOneLinePerRecordInLocalTime) {
  Machine m;
  m.Write("machine.ini", kMachineIni);
  PutArchive(m, {ArchiveFile("tsystem1.cfg", "CUR", INSTALL_NEWER, "config", {2026, 11, 30, 16, 20, 5, 125}),
                 ArchiveFile("VeltrixShippingLabelsTemplate.xml", "WIN", INSTALL_DIFFERENT, "<labels/>\r\n\r\n", {2026, 12, 1, 3, 15, 0, 0}),
                 ArchiveFile("tpengine.ini", "CUR", INSTALL_DOES_NOT_EXIST, "[Scale]\n", {2026, 1, 1, 4, 59, 59, 999})});
  RunResult run = m.Run("list");
  EXPECT_EQ(run.exit_status, 0) << run.err;
  EXPECT_EQ(run.out, "exit code 0\n");
  EXPECT_EQ(m.Text("drives/C/Portavel/filelist.txt"),
            kHead +
                "tsystem0.dll                12/05/2026    09:00:00         427\r\n"
                "\r\n" +
                kColumns +
                "tsystem1.cfg                11/30/2026    11:20:05           6    CUR           Newer        \r\n"
                "VeltrixShippingLabelsTemplate.xml    11/30/2026    22:15:00          13    WIN           Different    \r\n"
                "tpengine.ini                12/31/2025    23:59:59           8    CUR           DoesNotExist \r\n");
  EXPECT_FALSE(fs::exists(m.root() / "stdout.log"));
}

// An empty first record leaves the archive line and the columns only.
TEST(ListMode, ASecondRunReplacesTheReport) {
  Machine m;
  m.Write("machine.ini", kMachineIni);
  PutArchive(m, {ArchiveFile("one.dll", "CUR", INSTALL_NEWER, "1", {2026, 3, 2, 10, 0, 0, 0})});
  ASSERT_EQ(m.Run("list").exit_status, 0);
  PutArchive(m, {{}, ArchiveFile("later.dll", "SYS", INSTALL_ALWAYS, "x", {2026, 6, 1, 12, 0, 0, 0})});
  ASSERT_EQ(m.Run("-d list").exit_status, 0);
  EXPECT_EQ(m.Text("drives/C/Portavel/filelist.txt"),
            kHead + "tsystem0.dll                12/05/2026    09:00:00         301\r\n\r\n" + kColumns);
}

TEST(ListMode, AProblemIsPrintedOnStandardOutputAndTheRunEndsNormally) {
  Machine m;
  PutArchive(m, {ArchiveFile("a.dll", "CUR", INSTALL_ALWAYS, "a", {2026, 1, 1, 0, 0, 0, 0})});
  ASSERT_EQ(m.Run("-d list").exit_status, 0);
  const std::vector<std::string> errors_of_a_good_listing = m.ErrorLog();

  m.WriteC("Portavel/tsystem0.dll", "TRACERFIL");
  fs::remove(m.C("Portavel/filelist.txt"));
  RunResult run = m.Run("-d list");
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.out, "Incorrect file header\a\nexit code 0\n");
  EXPECT_EQ(m.Text("stdout.log"), "Incorrect file header\a\r\n");
  EXPECT_FALSE(fs::exists(m.C("Portavel/filelist.txt")));
  // Problems of the listing are no error records of the run.
  EXPECT_EQ(m.ErrorLog(), errors_of_a_good_listing);
  const auto messages = MessagesOf(m.Records());
  const std::vector<std::string> tail(messages.end() - 4, messages.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"Create File List.", "DisposeApp: Disposing of resources.",
                                            "DisposeCOM: Standard COM library disposed.",
                                            "Ending launcher application with exit code 0."}));
}

TEST(ListMode, AMissingArchiveAndAFailedPrintBothEndNormally) {
  Machine m;
  fs::remove(m.C("Portavel/tsystem0.dll"));
  RunResult run = m.Run("list");
  EXPECT_EQ(run.out, "Failed to open input file.\a\nexit code 0\n");

  m.Append("machine.ini", "[fail]\nWriteStandardOutput = 1\n");
  run = m.Run("list");
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.out, "exit code 0\n");
  EXPECT_EQ(m.Text("stdout.log"), "Failed to open input file.\a\r\n");  // from the first run only
}

}  // namespace
}  // namespace scenario
