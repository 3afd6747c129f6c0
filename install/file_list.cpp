// The archive listing: filelist.txt written afresh from the archive's header and
// record table, times shown in local time.
//
// The listing reads the archive itself rather than through OpenTABFile, and loads
// no more of it than the header and the records it can list (at most 198): the
// header size of a damaged archive then cannot make it allocate or read more.
// Records are taken at their place in the table, 100 bytes each from byte 100, and
// only records that were read in full are listed.
#include "install/file_list.h"

#include <algorithm>
#include <cstring>

#include "install/install_rules.h"
#include "install/scoped_release.h"
#include "install/tab_file.h"
#include "base/launcher.h"
#include "platform/error_codes.h"
#include "platform/files.h"

namespace {

constexpr const char* kReportName = "filelist.txt";
constexpr std::uint32_t kMaxListedRecords = 198;
constexpr std::uint32_t kListedBytes = kTABHeaderBytes + kMaxListedRecords * kTABRecordBytes;
// The first bytes looked at: the magic and the header size.
constexpr std::uint32_t kLeadBytes = 15;
constexpr const char* kHeaderLabel = "archive header";

constexpr const char* kRuleLine =
    "------------------------    ----------    --------    --------    ----------    ------------\n";

struct RuleText {
  std::uint32_t rule;
  const char* text;
};
constexpr RuleText kRuleTexts[] = {
    {INSTALL_DIFFERENT, "Different"},
    {INSTALL_NEWER, "Newer"},
    {INSTALL_ALWAYS, "Always"},
    {INSTALL_DOES_NOT_EXIST, "DoesNotExist"},
};

using RuleColumn = FixedString<25>;  // the rule column holds at most 24 characters
using ReportLine = FixedString<512>;

// A record with another rule shows the rule's number, so that the listing tells
// which records the upgrade will never install.
RuleColumn RuleTextOf(std::uint32_t rule) {
  RuleColumn column;
  for (const RuleText& known : kRuleTexts) {
    if (known.rule == rule) {
      column.assign_cut(known.text);
      return column;
    }
  }
  column.format_cut("%u", static_cast<unsigned>(rule));
  return column;
}

void PrintProblem(Launcher& l, const char* message) {
  MessageBuffer text;
  text.format_cut("%s\a\n", message);
  l.os.files.WriteStandardOutput(text.view());
}

// Local calendar fields of a UTC file time; all zero when the system cannot convert
// it, which shows as "00/00/0000    00:00:00".
platform::SystemTime LocalFields(Launcher& l, platform::FileTime utc) {
  platform::FileTime local = 0;
  platform::SystemTime fields;
  if (!l.os.files.FileTimeToLocalFileTime(utc, &local) ||
      !l.os.files.FileTimeToSystemTime(local, &fields))
    return {};
  return fields;
}

platform::SystemTime LocalFieldsOfRecord(Launcher& l, const TABFileTime& time) {
  const platform::SystemTime utc_fields = {time.Year, time.Month,  time.DayOfWeek, time.Day,
                                           time.Hour, time.Minute, time.Second,    time.Milliseconds};
  platform::FileTime utc = 0;
  if (!l.os.files.SystemTimeToFileTime(utc_fields, &utc)) return {};
  return LocalFields(l, utc);
}

// The report as a text-mode stream writes it: every line feed stored as CR LF, the
// bytes handed to the system a buffer of 4,096 at a time. Once a write fails nothing
// more is written.
class ReportStream {
 public:
  ReportStream(Launcher& l, platform::Handle output) : l_(l), output_(output) {}

  bool Write(std::string_view text) {
    for (char c : text) {
      if (c == '\n' && !Put('\r')) return false;
      if (!Put(c)) return false;
    }
    return true;
  }

  bool Flush() {
    if (failed_ || used_ == 0) return !failed_;
    std::uint32_t written = 0;
    failed_ = !l_.os.files.WriteFile(output_, buffer_, static_cast<std::uint32_t>(used_), &written) ||
              written != used_;
    used_ = 0;
    return !failed_;
  }

 private:
  bool Put(char c) {
    if (used_ == sizeof buffer_ && !Flush()) return false;
    buffer_[used_++] = c;
    return true;
  }

  Launcher& l_;
  platform::Handle output_;
  char buffer_[4096];
  std::size_t used_ = 0;
  bool failed_ = false;
};

// Sizes are shown as the report has always shown them, as signed 32-bit numbers: a
// record claiming 2 GiB or more shows negative.
long SignedSize(std::uint32_t size) { return static_cast<long>(static_cast<std::int32_t>(size)); }

bool WriteArchiveLine(ReportStream& report, const platform::SystemTime& time, std::uint32_t size) {
  ReportLine line;
  line.format_cut("\n\n%-24s    %02d/%02d/%04d    %02d:%02d:%02d    %8ld\n\n",
                  kTABArchiveName.data(), time.month, time.day, time.year, time.hour, time.minute,
                  time.second, SignedSize(size));
  if (!report.Write(line.view())) return false;
  line.format_cut("%-24s    %-10s    %-8s    %8s    %-10s    %-13s\n", "Filename", "Date", "Time",
                  "Size", "Location", "Install");
  return report.Write(line.view()) && report.Write(kRuleLine);
}

bool WriteRecordLine(Launcher& l, ReportStream& report, const TABFileRecord& record) {
  const platform::SystemTime time = LocalFieldsOfRecord(l, record.FileTime);
  ReportLine line;
  line.format_cut("%-24s    %02d/%02d/%04d    %02d:%02d:%02d    %8ld    %-10s    %-13s\n",
                  record.FileName, time.month, time.day, time.year, time.hour, time.minute,
                  time.second, SignedSize(record.Size), record.Destination,
                  RuleTextOf(record.InstallType).c_str());
  return report.Write(line.view());
}

}  // namespace

void CreateFileList(Launcher& l) {
  platform::Handle input = l.os.files.CreateFile(kTABArchiveName, platform::kGenericRead, 0,
                                                 platform::kOpenExisting,
                                                 platform::kFileAttributeNormal);
  if (input == platform::kInvalidHandle) {
    PrintProblem(l, "Failed to open input file.");
    return;
  }
  ScopedHandle input_scope(l, input, "Input");

  std::uint8_t lead[kLeadBytes] = {};
  std::uint32_t read = 0;
  if (!l.os.files.ReadFile(input, lead, kLeadBytes, &read)) {
    PrintProblem(l, "Incorrect/corrupted file");
    return;
  }
  if (read < kTABMagic.size() || std::memcmp(lead, kTABMagic.data(), kTABMagic.size()) != 0) {
    PrintProblem(l, "Incorrect file header");
    return;
  }
  if (read < kTABHeaderSizeOffset + 4) {
    PrintProblem(l, "Incorrect file header size");
    return;
  }
  const std::uint32_t header_size = ReadLittleEndian32(lead + kTABHeaderSizeOffset);

  const std::uint32_t wanted = std::min(header_size, kListedBytes);
  std::uint8_t* loaded = nullptr;
  if (!HeapAllocHlpr(l, &loaded, wanted, kHeaderLabel)) return;
  ScopedHeapBlock<std::uint8_t> loaded_scope(l, loaded, kHeaderLabel);
  std::uint32_t loaded_size = 0;
  if (l.os.files.SetFilePointer(input, 0, platform::kFileBegin) == platform::kInvalidSetFilePointer ||
      !l.os.files.ReadFile(input, loaded, wanted, &loaded_size)) {
    PrintProblem(l, "Failed to read header.");
    return;
  }

  platform::FileTime archive_time = 0;
  const bool have_time = l.os.files.GetFileTime(input, &archive_time);
  // A size the system cannot tell is shown as 0.
  l.os.system.SetLastError(platform::kErrorSuccess);
  std::uint32_t archive_size = l.os.files.GetFileSize(input, nullptr);
  if (archive_size == platform::kInvalidFileSize && l.os.system.GetLastError() != platform::kErrorSuccess)
    archive_size = 0;
  input_scope.Close();
  const platform::SystemTime archive_local =
      have_time ? LocalFields(l, archive_time) : platform::SystemTime{};

  platform::Handle output = l.os.files.CreateFile(
      kReportName, platform::kGenericWrite, platform::kFileShareRead | platform::kFileShareWrite,
      platform::kCreateAlways, platform::kFileAttributeNormal);
  if (output == platform::kInvalidHandle) {
    PrintProblem(l, "Failed to open output file.");
    return;
  }
  ScopedHandle output_scope(l, output, "Output");

  // A report that cannot be written further is left as far as it was written.
  ReportStream report(l, output);
  if (!WriteArchiveLine(report, archive_local, archive_size)) return;
  for (std::uint32_t offset = kTABHeaderBytes; offset + kTABRecordBytes <= loaded_size;
       offset += kTABRecordBytes) {
    TABFileRecord record;
    CopyTABFileRecord(loaded + offset, record);
    if (record.FileName[0] == '\0') break;
    if (!WriteRecordLine(l, report, record)) return;
  }
  report.Flush();
}
