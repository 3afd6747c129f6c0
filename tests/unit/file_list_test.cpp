// The archive listing on a simulated workstation: each problem printed on standard
// output with a bell and a line feed, no report and no error record for it; the
// listing bounded by the records it can show and by the bytes it read.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "archive_test_run.h"
#include "install/file_list.h"
#include "install/install_rules.h"
#include "install/tab_format.h"
#include "tools/tabpack/archive_writer.h"

namespace {

using archive_test::ArchiveRun;
using tabpack::MemoryFile;

constexpr std::string_view kReport = "C:\\Portavel\\filelist.txt";

MemoryFile File(const std::string& name) { return test_support::ArchiveFile(name, "CUR", INSTALL_ALWAYS, name); }

std::string StandardOutput(const ArchiveRun& run) { return run.machine.Text("stdout.log"); }

// The names listed in the report, in order.
std::vector<std::string> ListedNames(const std::string& report) {
  std::vector<std::string> names;
  const std::vector<std::string> lines = test_support::SplitLines(report);
  // After the empty lines, the archive line, the header and the rule line.
  for (std::size_t i = 6; i < lines.size(); ++i) names.push_back(lines[i].substr(0, lines[i].find(' ')));
  return names;
}

struct ProblemRow {
  const char* what;
  std::string archive;
  const char* fail;     // [fail] lines
  std::string printed;  // as stdout.log holds it
};

// A missing archive and a wrong header are the listing mode's own tests.

TEST(CreateFileList, EachProblemIsPrintedWithABellAndNoReportIsWritten) {
  std::string short_size = "TRACERFILE";
  short_size += std::string("\x90\x01\x00", 3);  // the header size cut after 3 bytes
  const std::string good = tabpack::BuildArchive({File("a.dll")});
  const ProblemRow rows[] = {
      {"held open elsewhere", good, "CreateFile = 1:32", "Failed to open input file.\a\r\n"},
      {"first read fails", good, "ReadFile = 1", "Incorrect/corrupted file\a\r\n"},
      {"shorter than the magic", "TRACERF", "", "Incorrect file header\a\r\n"},
      {"wrong magic", "TRACERFILX" + good.substr(10), "", "Incorrect file header\a\r\n"},
      {"header size cut short", short_size, "", "Incorrect file header size\a\r\n"},
      {"header read fails", good, "ReadFile = 2", "Failed to read header.\a\r\n"},
      {"report cannot be created", good, "CreateFile = 2:5", "Failed to open output file.\a\r\n"},
      {"no memory for the header", good, "HeapAlloc = 1:8", ""},
  };
  for (const ProblemRow& row : rows) {
    SCOPED_TRACE(row.what);
    ArchiveRun run(std::string("[fail]\n") + row.fail + "\n");
    run.PutArchive(row.archive);
    CreateFileList(run.l);
    EXPECT_EQ(StandardOutput(run), row.printed);
    EXPECT_FALSE(run.machine.File(kReport));
    // The listing writes no error record of its own; only a failed allocation is one.
    EXPECT_EQ(run.l.log.ErrorRecordCount, std::string(row.fail).rfind("HeapAlloc", 0) == 0 ? 1 : 0);
    EXPECT_TRUE(run.ArchiveIsClosed());
  }
}

// At most 198 records are listed; only those within HeaderSize (one and a half says
// one); with a huge HeaderSize, those the file holds (the third cut in half).
TEST(CreateFileList, ListsTheRecordsTheHeaderAndTheFileHold) {
  std::vector<MemoryFile> many;
  for (int i = 1; i <= 200; ++i) many.push_back(File("f" + std::to_string(i) + ".dll"));
  std::string one_and_a_half = tabpack::BuildArchive({File("a.dll"), File("b.dll"), File("c.dll")});
  one_and_a_half[10] = static_cast<char>(250);
  one_and_a_half[11] = 0;
  std::string huge = tabpack::BuildArchive({File("a.dll"), File("b.dll")});
  std::memset(huge.data() + 10, 0xFF, 4);
  huge.resize(100 + 2 * 100 + 50);
  const struct {
    std::string archive;
    std::size_t count;
    const char* last;
  } cases[] = {{tabpack::BuildArchive(many), 198, "f198.dll"}, {one_and_a_half, 1, "a.dll"}, {huge, 2, "b.dll"}};
  for (const auto& c : cases) {
    ArchiveRun run;
    run.PutArchive(c.archive);
    CreateFileList(run.l);
    const std::vector<std::string> names = ListedNames(*run.machine.File(kReport));
    EXPECT_EQ(std::make_tuple(names.size(), names.back()), std::make_tuple(c.count, std::string(c.last)));
    EXPECT_EQ(StandardOutput(run), "");
  }
}

TEST(CreateFileList, AReportThatCannotBeWrittenFurtherIsLeftAsFarAsItWasWritten) {
  std::vector<MemoryFile> files;
  for (int i = 1; i <= 100; ++i) files.push_back(File("f" + std::to_string(i) + ".dll"));
  const std::string archive = tabpack::BuildArchive(files);

  ArchiveRun whole;
  whole.PutArchive(archive);
  CreateFileList(whole.l);
  const std::string report = *whole.machine.File(kReport);
  ASSERT_GT(report.size(), 2u * 4096u);

  // The report goes out a buffer of 4,096 bytes at a time; the second write fails.
  ArchiveRun cut("[fail]\nWriteFile = 2\n");
  cut.PutArchive(archive);
  // The archive line shows the archive's time: the same in both reports.
  std::filesystem::last_write_time(cut.machine.C("Portavel/tsystem0.dll"),
                                   std::filesystem::last_write_time(whole.machine.C("Portavel/tsystem0.dll")));
  CreateFileList(cut.l);
  EXPECT_EQ(*cut.machine.File(kReport), report.substr(0, 4096));
  EXPECT_EQ(StandardOutput(cut), "");
  EXPECT_TRUE(cut.ArchiveIsClosed());
}

struct ShownTimeRow {
  const char* fail;
  const char* archive_time;  // as the archive line shows it
  const char* record_time;   // as the record line shows it
};

// A time the system cannot convert shows as zeros; the rest of the line stays.
TEST(CreateFileList, TimesThatCannotBeConvertedShowAsZeros) {
  const ShownTimeRow rows[] = {
      {"GetFileTime = 1", "00/00/0000    00:00:00", "11/30/2026    16:20:05"},
      {"FileTimeToSystemTime = 2", "", "00/00/0000    00:00:00"},
  };
  for (const ShownTimeRow& row : rows) {
    SCOPED_TRACE(row.fail);
    ArchiveRun run(std::string("[fail]\n") + row.fail + "\n");
    run.PutArchive(tabpack::BuildArchive({File("a.dll")}));
    CreateFileList(run.l);
    const std::vector<std::string> lines = test_support::SplitLines(*run.machine.File(kReport));
    if (*row.archive_time) {
      EXPECT_EQ(lines[2].substr(28, 22), row.archive_time);
    }
    EXPECT_EQ(lines[6].substr(28, 22), row.record_time);
  }
}

TEST(CreateFileList, ARuleOutsideTheFourShowsItsNumber) {
  MemoryFile odd = File("odd.dll");
  odd.record.rule = 104;
  ArchiveRun run;
  run.PutArchive(tabpack::BuildArchive({File("a.dll"), odd}));
  CreateFileList(run.l);
  const std::vector<std::string> lines = test_support::SplitLines(*run.machine.File(kReport));
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[6].substr(lines[6].size() - 13) + "|" + lines[7].substr(lines[7].size() - 13),
            "Always       |104          ");
}

// Sizes are signed 32-bit numbers in the report: a record claiming 2 GiB shows negative.
TEST(CreateFileList, SizesShowAsSigned32BitNumbers) {
  std::string archive = tabpack::BuildArchive({File("a.dll"), File("big.dll")});
  const std::size_t size_field = 100 + 100 + kTABSizeOffset;
  std::memcpy(archive.data() + size_field, "\x00\x00\x00\x80", 4);
  ArchiveRun run;
  run.PutArchive(archive);
  CreateFileList(run.l);
  const std::vector<std::string> lines = test_support::SplitLines(*run.machine.File(kReport));
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[6].substr(50, 12), "           5");
  EXPECT_EQ(lines[7].substr(50, 15), "    -2147483648");
}

}  // namespace
