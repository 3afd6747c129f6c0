// tabpack: reading and verifying archives.
#include "tools/tabpack/archive_reader.h"

#include <algorithm>
#include <fstream>
#include <system_error>

#include "tools/tabpack/manifest.h"
#include "tools/tabpack/shown_text.h"

namespace tabpack {
namespace {

bool InCalendar(const Record& record) {
  UtcTime time = record.time;
  return ParseUtcTime(FormatUtcTime(time)) == time;
}

}  // namespace

std::optional<ArchiveView> ReadArchive(const std::string& bytes, std::uint64_t file_size,
                                       std::string* error) {
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  if (bytes.compare(0, kTABMagic.size(), kTABMagic) != 0) {
    *error = "not an install archive (no \"TRACERFILE\" header)";
    return std::nullopt;
  }
  if (bytes.size() < kTABHeaderBytes) {
    *error = "too short for its header (" + std::to_string(file_size) + " bytes; the header takes " +
             std::to_string(kTABHeaderBytes) + ")";
    return std::nullopt;
  }
  ArchiveView view;
  view.header_size = ReadLittleEndian32(data + kTABHeaderSizeOffset);
  view.archive_size = ReadLittleEndian32(data + kTABArchiveSizeOffset);
  view.file_size = file_size;
  if (view.header_size < kTABHeaderBytes + kTABRecordBytes) {
    *error = "HeaderSize " + std::to_string(view.header_size) + " leaves no room for a record";
    return std::nullopt;
  }
  const std::uint64_t count = (view.header_size - kTABHeaderBytes) / kTABRecordBytes;
  if (count > kTABMaxRecords) {
    *error = "HeaderSize " + std::to_string(view.header_size) + " makes " + std::to_string(count) +
             " records; an archive holds at most " + std::to_string(kTABMaxRecords);
    return std::nullopt;
  }
  if (kTABHeaderBytes + count * kTABRecordBytes > bytes.size()) {
    *error = "the file ends inside its record table (HeaderSize " +
             std::to_string(view.header_size) + ", " + std::to_string(file_size) + " bytes)";
    return std::nullopt;
  }
  for (std::uint64_t i = 0; i < count; ++i)
    view.records.push_back(DecodeRecord(data + kTABHeaderBytes + i * kTABRecordBytes));
  return view;
}

std::vector<std::string> VerifyArchive(const std::string& head, std::uint64_t file_size) {
  std::vector<std::string> problems;
  std::string error;
  auto view = ReadArchive(head, file_size, &error);
  if (!view) return {error};
  if (view->archive_size != 0 && view->archive_size != view->file_size)
    problems.push_back("ArchiveSize " + std::to_string(view->archive_size) + " but the file has " +
                       std::to_string(view->file_size) + " bytes");
  for (std::size_t i = 0; i < view->records.size(); ++i) {
    const Record& r = view->records[i];
    const std::string at = "record " + std::to_string(i + 1) + ": ";
    if (r.name.empty()) continue;
    if (!r.name_terminated) problems.push_back(at + "the name fills its field without a terminator");
    if (std::string why = CheckName(r.name); r.name_terminated && !why.empty())
      problems.push_back(at + why);
    if (!r.destination_terminated || !DestinationCode(r.destination))
      problems.push_back(at + "unknown destination " + QuotedShown(r.destination));
    if (RuleName(r.rule).empty())
      problems.push_back(at + "install rule " + std::to_string(r.rule) +
                         " is none of 101, 102, 103, 109: the upgrade never installs it");
    if (!InCalendar(r)) problems.push_back(at + "the time " + FormatUtcTime(r.time) + " is no UTC time");
    if (r.data_offset < view->header_size ||
        std::uint64_t{r.data_offset} + r.size > view->file_size)
      problems.push_back(at + "contents at " + std::to_string(r.data_offset) + " (" +
                         std::to_string(r.size) + " bytes) lie outside the data of the archive");
  }
  return problems;
}

std::optional<std::string> ReadArchiveHead(const std::filesystem::path& path,
                                           std::uint64_t* file_size) {
  std::error_code ec;
  *file_size = std::filesystem::file_size(path, ec);
  std::ifstream in(path, std::ios::binary);
  if (ec || !in) return std::nullopt;
  std::string head(kTABHeaderBytes, '\0');
  in.read(head.data(), kTABHeaderBytes);
  head.resize(static_cast<std::size_t>(in.gcount()));
  if (head.size() < kTABHeaderBytes) return head;
  constexpr std::uint32_t kLargestHead = kTABHeaderBytes + kTABMaxRecords * kTABRecordBytes;
  const std::uint32_t wanted = std::min(
      ReadLittleEndian32(reinterpret_cast<const std::uint8_t*>(head.data()) + kTABHeaderSizeOffset),
      kLargestHead);
  if (wanted > head.size()) {
    head.resize(wanted);
    in.read(head.data() + kTABHeaderBytes, wanted - kTABHeaderBytes);
    head.resize(kTABHeaderBytes + static_cast<std::size_t>(in.gcount()));
  }
  return head;
}

}  // namespace tabpack
