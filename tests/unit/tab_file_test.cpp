// Opening the install archive on a simulated workstation: every refusal with its
// record, the records of a good archive in memory and in the log, runs of unused
// records, and what is left open or allocated afterwards.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "archive_test_run.h"
#include "diag/heap_helpers.h"
#include "install/install_rules.h"
#include "install/tab_file.h"
#include "tools/tabpack/archive_writer.h"
#include "tests/support/test_text.h"

namespace {

using archive_test::ArchiveRun;
using tabpack::MemoryFile;
using tabpack::Record;
using test_support::Pointer;

const std::string kPrefix = "E|OpenTABFile: Failed to open archive \"tsystem0.dll\"; ";

// A used record of the CUR folder, installed when newer.
MemoryFile File(const std::string& name, const std::string& contents) {
  Record record;
  record.name = name;
  record.destination = "CUR";
  record.rule = INSTALL_NEWER;
  record.time = {2026, 11, 30, 16, 20, 5, 125};
  return {record, contents};
}

std::string ThreeFiles() {
  return tabpack::BuildArchive({File("tsystem1.cfg", "config"), File("carriers.csv", "a,b\n"),
                                File("tpengine.ini", "[Scale]\n")});
}

void PutLittleEndian32(std::string& bytes, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<char>(value >> (8 * i));
}

// A header alone: the magic and HeaderSize, no ArchiveSize, then zeros up to `length`.
std::string Header(std::uint32_t header_size, std::size_t length = 100) {
  std::string bytes(length, '\0');
  std::memcpy(bytes.data(), "TRACERFILE", 10);
  PutLittleEndian32(bytes, 10, header_size);
  return bytes;
}

struct RefusalRow {
  const char* what;
  std::string archive;  // the bytes of tsystem0.dll; "<missing>" for none
  std::string record;   // the error record, after the common prefix
  const char* fail = "";  // a system call failed in the machine's [fail] section
  int errors = 1;         // error records of the run
};

std::vector<RefusalRow> RefusalRows() {
  std::string wrong_magic = ThreeFiles();
  wrong_magic[9] = 'F';
  std::string wrong_size = ThreeFiles();
  PutLittleEndian32(wrong_size, 14, static_cast<std::uint32_t>(wrong_size.size() + 1));
  const std::string whole = ThreeFiles();
  std::string table_cut = Header(100 + 10 * 100) + whole.substr(100, 3 * 100);
  const std::string format = "it has an incorrect file format and may be corrupt.";
  const std::string size = "it has an incorrect file size and may be corrupt.";
  const std::string header_size = "it has an incorrect header size and may be corrupt.";
  const std::string block_size = "it has an incorrect file record block size and may be empty or corrupt.";
  const std::string cut = "could not read header; [WIN32 0x00000026/C0038] Reached the end of the file. ";
  return {
      {"missing", "<missing>", "[WIN32 0x00000002/C0002] The system cannot find the file specified. "},
      {"zero-length", "", format},
      {"shorter than the magic", "TRACERFIL", format},
      {"wrong magic", wrong_magic, format},
      {"wrong size", wrong_size, size},
      {"truncated with its size recorded", whole.substr(0, whole.size() - 1), size},
      {"tiny header", Header(99), header_size},
      {"no whole record", Header(199), block_size},
      {"header only", Header(100), block_size},
      {"more records than 65,535", Header(100 + 65536 * 100), header_size},
      {"table cut short", table_cut, cut},
      {"header cut short", Header(200, 18), cut},
      {"archive in use", whole,
       "[WIN32 0x00000020/C0032] The process cannot access the file because it is being used by another "
       "process. ",
       "CreateFile = 1:32"},
      {"read refused", whole, "could not read header; [WIN32 0x00000005/C0005] Access is denied. ", "ReadFile = 1"},
      {"seek refused", whole, "could not read header; [WIN32 0x00000057/C0087] The parameter is incorrect. ",
       "SetFilePointer = 1:87"},
      {"size unknown", whole, size, "GetFileSize = 1:6"},
      {"no memory for the buffer", whole, "out of memory during buffer allocation.", "HeapAlloc = 1:8", 2},
      {"no memory for the file array", whole, "out of memory during file array allocation.", "HeapAlloc = 2:8", 2},
  };
}

TEST(OpenTABFile, EachDamagedOrUnreadableArchiveIsRefusedWithItsRecordAndLeavesNothingBehind) {
  for (const RefusalRow& row : RefusalRows()) {
    SCOPED_TRACE(row.what);
    ArchiveRun run(std::string("[fail]\n") + row.fail + "\n");
    if (row.archive != "<missing>") run.PutArchive(row.archive);
    TABHandle tHnd;
    EXPECT_FALSE(OpenTABFile(run.l, tHnd));
    EXPECT_EQ(run.RecordsOf({"OpenTABFile: Failed"}), std::vector<std::string>{kPrefix + row.record});
    EXPECT_EQ(std::make_tuple(run.l.log.ErrorRecordCount, tHnd.hnd, tHnd.FilesArraySize, tHnd.ArchiveName.view()),
              std::make_tuple(row.errors, platform::kInvalidHandle, 0u, std::string_view("tsystem0.dll")));
    EXPECT_TRUE(tHnd.Files == nullptr || tHnd.Files == ReleasedPointer());
    if (row.archive != "<missing>") { EXPECT_TRUE(run.ArchiveIsClosed()); }
    // Closing what failed to open is harmless.
    CloseTABFile(run.l, tHnd);
    EXPECT_EQ(run.l.log.ErrorRecordCount, row.errors);
  }
}

TEST(OpenTABFile, AFailureAfterTheAllocationsFreesBothBlocksThenClosesTheHandle) {
  ArchiveRun run;
  run.PutArchive(Header(100 + 5 * 100, 300));
  TABHandle tHnd;
  EXPECT_FALSE(OpenTABFile(run.l, tHnd));
  const std::vector<std::string> records =
      run.RecordsOf({"HeapFreeHlpr: Freeing", "CloseAndDestroyHandle:", "OpenTABFile: Failed"});
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[0].substr(0, 2), "E|");
  EXPECT_NE(records[1].find("for tHnd->Files"), std::string::npos);
  EXPECT_NE(records[2].find("for file record block"), std::string::npos);
  EXPECT_EQ(records[3].substr(0, 43), "X|CloseAndDestroyHandle: Closing tHnd->hnd=");
}

TEST(OpenTABFile, LoadsEveryRecordAndKeepsTheArchiveOpenUntilClosed) {
  ArchiveRun run;
  const std::string archive = ThreeFiles();
  run.PutArchive(archive);
  TABHandle tHnd;
  ASSERT_TRUE(OpenTABFile(run.l, tHnd));
  EXPECT_EQ(tHnd.FileCount, 3);
  ASSERT_NE(tHnd.Files, nullptr);

  const TABFileRecord& second = tHnd.Files[1];
  EXPECT_EQ(std::make_tuple(std::string(second.FileName), std::string(second.Destination), second.DataOffset,
                            second.Size, second.InstallType),
            std::make_tuple(std::string("carriers.csv"), std::string("CUR"), 400u + 6u, 4u, INSTALL_NEWER));
  const TABFileTime& t = second.FileTime;
  EXPECT_EQ(std::vector<int>({t.Year, t.Month, t.Day, t.DayOfWeek, t.Hour, t.Minute, t.Second,
                              t.Milliseconds}),
            std::vector<int>({2026, 11, 30, 1, 16, 20, 5, 125}));  // a Monday
  // The contents are where the record says.
  EXPECT_EQ(archive.substr(second.DataOffset, second.Size), "a,b\n");

  // Nobody else may open the archive while it is open.
  EXPECT_FALSE(run.ArchiveIsClosed());
  CloseTABFile(run.l, tHnd);
  EXPECT_TRUE(run.ArchiveIsClosed());
  EXPECT_EQ(std::make_tuple(tHnd.hnd, static_cast<void*>(tHnd.Files), tHnd.FilesArraySize),
            std::make_tuple(platform::kInvalidHandle, ReleasedPointer(), 0u));

  EXPECT_EQ(run.RecordsOf({"OpenTABFile:", "CloseTABFile:", "CloseAndDestroyHandle:"}),
            (std::vector<std::string>{
                "X|OpenTABFile: Obtained file handle: 0x10000",
                "X|OpenTABFile: tHnd->FileCount = 3, tHnd->FilesArraySize = 264",
                "1|OpenTABFile: Reading 3 file records from archive...",
                "X|OpenTABFile: File record 1: FileName=tsystem1.cfg Destination=CUR Size=6",
                "X|OpenTABFile: File record 2: FileName=carriers.csv Destination=CUR Size=4",
                "X|OpenTABFile: File record 3: FileName=tpengine.ini Destination=CUR Size=8",
                "1|OpenTABFile: Opened archive \"tsystem0.dll\" (0x10000) successfully.",
                "1|CloseTABFile: Closed archive \"tsystem0.dll\" (0x10000).",
                "X|CloseAndDestroyHandle: Closing tHnd->hnd=0x10000 (" + Pointer(&tHnd.hnd) + ")",
            }));
  EXPECT_EQ(run.l.log.ErrorRecordCount, 0);
}

// Archives that open, each with the records it logs: runs of unused records are
// reported as runs, bytes after the last whole record are ignored, and texts that
// fill their fields are cut inside them.
TEST(OpenTABFile, AcceptedArchivesLogTheirRecords) {
  auto sized = [](std::uint32_t header_size, std::size_t records) {
    std::string archive = tabpack::BuildArchive({File("a.dll", "a"), File("b.dll", "b")});
    PutLittleEndian32(archive, 10, header_size);
    PutLittleEndian32(archive, 14, 0);  // size not recorded: any size is accepted
    archive.resize(100 + 100 * records);
    return archive;
  };
  std::string full_texts = tabpack::BuildArchive({File("x", "1")});
  std::memset(full_texts.data() + 100, 'N', 50);       // FileName without a terminator
  std::memset(full_texts.data() + 100 + 50, 'D', 10);  // Destination without a terminator
  const std::vector<MemoryFile> runs = {File("one.dll", "1"), File("two.dll", "2"), {}, {}, {},
                                        File("six.dll", "6"), {}, {}, {}};
  const std::string record_a = "X|OpenTABFile: File record 1: FileName=a.dll Destination=CUR Size=1";
  const std::string record_b = "X|OpenTABFile: File record 2: FileName=b.dll Destination=CUR Size=1";
  const struct {
    const char* what;
    std::string archive;
    int count;
    std::vector<std::string> records;
  } cases[] = {
      {"unused runs inside and at the end", tabpack::BuildArchive(runs), 9,
       {"X|OpenTABFile: File record 1: FileName=one.dll Destination=CUR Size=1",
        "X|OpenTABFile: File record 2: FileName=two.dll Destination=CUR Size=1",
        "X|OpenTABFile: File records 3 - 5 are unused.",
        "X|OpenTABFile: File record 6: FileName=six.dll Destination=CUR Size=1",
        "1|OpenTABFile: File records 7 - 9 are unused."}},
      {"every record unused", tabpack::BuildArchive({{}, {}}), 2, {"1|OpenTABFile: File records 1 - 2 are unused."}},
      {"header size 299", sized(299, 1), 1, {record_a}},
      {"header size 399", sized(399, 2), 2, {record_a, record_b}},
      // The fields after the texts are intact.
      {"texts filling their fields", full_texts, 1,
       {"X|OpenTABFile: File record 1: FileName=" + std::string(49, 'N') + " Destination=" + std::string(9, 'D') +
        " Size=1"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ArchiveRun run;
    run.PutArchive(c.archive);
    TABHandle tHnd;
    ASSERT_TRUE(OpenTABFile(run.l, tHnd));
    EXPECT_EQ(tHnd.FileCount, c.count);
    EXPECT_EQ(run.RecordsOf({"OpenTABFile: File record"}), c.records);
    CloseTABFile(run.l, tHnd);
  }
}

TEST(OpenTABFile, TheLargestTableLoadsWhole) {
  std::vector<MemoryFile> files(kTABMaxRecords);
  files.front() = File("first.dll", "f");
  files.back() = File("last.dll", "l");
  ArchiveRun run;
  run.l.log.DebugLevel = 1;  // not one developer record per record
  run.PutArchive(tabpack::BuildArchive(files));
  TABHandle tHnd;
  ASSERT_TRUE(OpenTABFile(run.l, tHnd));
  EXPECT_EQ(std::make_tuple(tHnd.FileCount, tHnd.FilesArraySize), std::make_tuple(65535, 65535u * 88u));
  EXPECT_STREQ(tHnd.Files[65534].FileName, "last.dll");
  CloseTABFile(run.l, tHnd);
}

}  // namespace
