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

Record Used(const std::string& name, const std::string& destination = "CUR",
            std::uint32_t rule = INSTALL_NEWER) {
  Record record;
  record.name = name;
  record.destination = destination;
  record.rule = rule;
  record.time = {2026, 11, 30, 16, 20, 5, 125};
  return record;
}

MemoryFile File(const std::string& name, const std::string& contents) {
  return {Used(name), contents};
}

std::string ThreeFiles() {
  return tabpack::BuildArchive({File("tsystem1.cfg", "config"), File("carriers.csv", "a,b\n"),
                                File("tpengine.ini", "[Scale]\n")});
}

void PutLittleEndian32(std::string& bytes, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<char>(value >> (8 * i));
}

// A header alone: the magic, HeaderSize and ArchiveSize, then zeros up to `length`.
std::string Header(std::uint32_t header_size, std::uint32_t archive_size, std::size_t length = 100) {
  std::string bytes(length, '\0');
  std::memcpy(bytes.data(), "TRACERFILE", 10);
  PutLittleEndian32(bytes, 10, header_size);
  PutLittleEndian32(bytes, 14, archive_size);
  return bytes;
}

struct RefusalRow {
  const char* what;
  std::string archive;  // the bytes of tsystem0.dll; "<missing>" for none
  std::string record;   // the error record, after the common prefix
};

std::vector<RefusalRow> RefusalRows() {
  std::string wrong_magic = ThreeFiles();
  wrong_magic[9] = 'F';
  std::string wrong_size = ThreeFiles();
  PutLittleEndian32(wrong_size, 14, static_cast<std::uint32_t>(wrong_size.size() + 1));
  const std::string whole = ThreeFiles();
  std::string table_cut = Header(100 + 10 * 100, 0) + whole.substr(100, 3 * 100);
  return {
      {"missing", "<missing>",
       "[WIN32 0x00000002/C0002] The system cannot find the file specified. "},
      {"zero-length", "", "it has an incorrect file format and may be corrupt."},
      {"shorter than the magic", "TRACERFIL", "it has an incorrect file format and may be corrupt."},
      {"wrong magic", wrong_magic, "it has an incorrect file format and may be corrupt."},
      {"wrong size", wrong_size, "it has an incorrect file size and may be corrupt."},
      {"truncated with its size recorded", whole.substr(0, whole.size() - 1),
       "it has an incorrect file size and may be corrupt."},
      {"tiny header", Header(99, 0), "it has an incorrect header size and may be corrupt."},
      {"no whole record", Header(199, 0),
       "it has an incorrect file record block size and may be empty or corrupt."},
      {"header only", Header(100, 0),
       "it has an incorrect file record block size and may be empty or corrupt."},
      {"more records than 65,535", Header(100 + 65536 * 100, 0),
       "it has an incorrect header size and may be corrupt."},
      {"table cut short", table_cut,
       "could not read header; [WIN32 0x00000026/C0038] Reached the end of the file. "},
      {"header cut short", Header(200, 0, 18),
       "could not read header; [WIN32 0x00000026/C0038] Reached the end of the file. "},
  };
}

TEST(OpenTABFile, EachDamagedArchiveIsRefusedWithItsRecordAndLeavesNothingBehind) {
  for (const RefusalRow& row : RefusalRows()) {
    SCOPED_TRACE(row.what);
    ArchiveRun run;
    if (row.archive != "<missing>") run.PutArchive(row.archive);
    TABHandle tHnd;
    EXPECT_FALSE(OpenTABFile(run.l, tHnd));
    const std::vector<std::string> errors = run.RecordsOf({"OpenTABFile: Failed"});
    EXPECT_EQ(errors, std::vector<std::string>{kPrefix + row.record});
    EXPECT_EQ(std::make_tuple(run.l.log.ErrorRecordCount, tHnd.hnd, tHnd.FilesArraySize, tHnd.ArchiveName.view()),
              std::make_tuple(1, platform::kInvalidHandle, 0u, std::string_view("tsystem0.dll")));
    EXPECT_TRUE(tHnd.Files == nullptr || tHnd.Files == ReleasedPointer());
    if (row.archive != "<missing>") {
      EXPECT_TRUE(run.ArchiveIsClosed());
    }
    // Closing what failed to open is harmless.
    CloseTABFile(run.l, tHnd);
    EXPECT_EQ(run.l.log.ErrorRecordCount, 1);
  }
}

TEST(OpenTABFile, AFailureAfterTheAllocationsFreesBothBlocksThenClosesTheHandle) {
  ArchiveRun run;
  run.PutArchive(Header(100 + 5 * 100, 0, 300));
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

TEST(OpenTABFile, RunsOfUnusedRecordsAreReportedAsRuns) {
  const struct {
    std::vector<MemoryFile> files;
    std::vector<std::string> records;
  } cases[] = {
      // Records 3 to 5 unused, 6 used, 7 to 9 unused at the end of a 9-record table.
      {{File("one.dll", "1"), File("two.dll", "2"), {}, {}, {}, File("six.dll", "6"), {}, {}, {}},
       {"X|OpenTABFile: File record 1: FileName=one.dll Destination=CUR Size=1",
        "X|OpenTABFile: File record 2: FileName=two.dll Destination=CUR Size=1",
        "X|OpenTABFile: File records 3 - 5 are unused.",
        "X|OpenTABFile: File record 6: FileName=six.dll Destination=CUR Size=1",
        "1|OpenTABFile: File records 7 - 9 are unused."}},
      {{{}, {}}, {"1|OpenTABFile: File records 1 - 2 are unused."}},
  };
  for (const auto& c : cases) {
    ArchiveRun run;
    run.PutArchive(tabpack::BuildArchive(c.files));
    TABHandle tHnd;
    ASSERT_TRUE(OpenTABFile(run.l, tHnd));
    EXPECT_EQ(tHnd.FileCount, static_cast<int>(c.files.size()));
    EXPECT_EQ(run.RecordsOf({"OpenTABFile: File record"}), c.records);
    CloseTABFile(run.l, tHnd);
  }
}

struct HeaderSizeRow {
  std::uint32_t header_size;
  int records;
};

TEST(OpenTABFile, BytesAfterTheLastWholeRecordAreIgnored) {
  for (const HeaderSizeRow& row : {HeaderSizeRow{299, 1}, HeaderSizeRow{399, 2}}) {
    SCOPED_TRACE(row.header_size);
    std::string archive = tabpack::BuildArchive({File("a.dll", "a"), File("b.dll", "b")});
    PutLittleEndian32(archive, 10, row.header_size);
    PutLittleEndian32(archive, 14, 0);  // size not recorded: any size is accepted
    archive.resize(100 + 100 * row.records);
    ArchiveRun run;
    run.PutArchive(archive);
    TABHandle tHnd;
    ASSERT_TRUE(OpenTABFile(run.l, tHnd));
    EXPECT_EQ(std::make_tuple(tHnd.FileCount, tHnd.HeaderSize), std::make_tuple(row.records, row.header_size));
    CloseTABFile(run.l, tHnd);
  }
}

TEST(OpenTABFile, TextsThatFillTheirFieldsAreCutInsideThem) {
  std::string archive = tabpack::BuildArchive({File("x", "1")});
  std::memset(archive.data() + 100, 'N', 50);       // FileName without a terminator
  std::memset(archive.data() + 100 + 50, 'D', 10);  // Destination without a terminator
  ArchiveRun run;
  run.PutArchive(archive);
  TABHandle tHnd;
  ASSERT_TRUE(OpenTABFile(run.l, tHnd));
  EXPECT_EQ(std::string(tHnd.Files[0].FileName), std::string(49, 'N'));
  EXPECT_EQ(std::string(tHnd.Files[0].Destination), std::string(9, 'D'));
  EXPECT_EQ(tHnd.Files[0].Size, 1u);  // the fields after them are intact
  CloseTABFile(run.l, tHnd);
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

struct FaultRow {
  const char* fail;
  std::string record;
};

// Failed system calls, each named in the machine's [fail] section.
TEST(OpenTABFile, FailedSystemCallsAreRefusalsWithTheSystemError) {
  const FaultRow rows[] = {
      {"CreateFile = 1:32",
       kPrefix + "[WIN32 0x00000020/C0032] The process cannot access the file because it is "
                 "being used by another process. "},
      {"ReadFile = 1", kPrefix + "could not read header; [WIN32 0x00000005/C0005] Access is denied. "},
      {"SetFilePointer = 1:87",
       kPrefix + "could not read header; [WIN32 0x00000057/C0087] The parameter is incorrect. "},
      {"GetFileSize = 1:6", kPrefix + "it has an incorrect file size and may be corrupt."},
      {"HeapAlloc = 1:8", kPrefix + "out of memory during buffer allocation."},
      {"HeapAlloc = 2:8", kPrefix + "out of memory during file array allocation."},
  };
  for (const FaultRow& row : rows) {
    SCOPED_TRACE(row.fail);
    ArchiveRun run(std::string("[fail]\n") + row.fail + "\n");
    run.PutArchive(ThreeFiles());
    TABHandle tHnd;
    EXPECT_FALSE(OpenTABFile(run.l, tHnd));
    EXPECT_EQ(run.RecordsOf({"OpenTABFile: Failed"}), std::vector<std::string>{row.record});
    EXPECT_EQ(std::make_tuple(tHnd.hnd, tHnd.FilesArraySize), std::make_tuple(platform::kInvalidHandle, 0u));
    EXPECT_TRUE(run.ArchiveIsClosed());
  }
}

}  // namespace
