// tabpack: laying out and writing archives.
#include "tools/tabpack/archive_writer.h"

#include <fstream>
#include <system_error>

namespace tabpack {
namespace fs = std::filesystem;
namespace {

std::string Quoted(const fs::path& path) { return "\"" + path.string() + "\""; }

}  // namespace

Layout PlanLayout(const std::vector<std::uint64_t>& sizes) {
  Layout layout;
  const std::uint64_t header = kTABHeaderBytes + std::uint64_t{kTABRecordBytes} * sizes.size();
  layout.header_size = static_cast<std::uint32_t>(header);
  std::uint64_t next = header;
  for (std::uint64_t size : sizes) {
    layout.offsets.push_back(static_cast<std::uint32_t>(next));
    next += size;
  }
  layout.archive_size = next;
  return layout;
}

std::string CheckArchiveLimits(const std::vector<std::uint64_t>& sizes) {
  if (sizes.size() > kTABMaxRecords)
    return "the manifest lists " + std::to_string(sizes.size()) +
           " files; an archive holds at most " + std::to_string(kTABMaxRecords);
  const Layout layout = PlanLayout(sizes);
  if (layout.archive_size > kLargestArchive)
    return "the archive would be " + std::to_string(layout.archive_size) +
           " bytes; an archive holds at most " + std::to_string(kLargestArchive) +
           " bytes (4 GiB less one byte)";
  return {};
}

bool PackArchive(const std::vector<ManifestLine>& lines, const fs::path& folder, const fs::path& out,
                 std::string* error) {
  // Refused before a single file is looked at.
  if (lines.size() > kTABMaxRecords) {
    *error = CheckArchiveLimits(std::vector<std::uint64_t>(lines.size()));
    return false;
  }
  std::vector<Record> records;
  std::vector<std::uint64_t> sizes;
  std::vector<fs::path> sources;
  for (const ManifestLine& line : lines) {
    const fs::path source = folder / line.name;
    std::error_code ec;
    if (!fs::is_regular_file(source, ec)) {
      *error = "manifest line " + std::to_string(line.line_number) + ": " + Quoted(source) +
               " is not a file";
      return false;
    }
    const std::uint64_t size = fs::file_size(source, ec);
    const auto written = fs::last_write_time(source, ec);
    if (ec) {
      *error = "cannot read " + Quoted(source) + ": " + ec.message();
      return false;
    }
    Record record;
    record.name = line.name;
    record.destination = line.destination;
    record.rule = line.rule;
    record.time = line.time ? *line.time : UtcTimeOf(std::chrono::file_clock::to_sys(written));
    record.day_of_week = DayOfWeek(record.time);
    records.push_back(record);
    sizes.push_back(size);
    sources.push_back(source);
  }
  if (std::string why = CheckArchiveLimits(sizes); !why.empty()) {
    *error = why;
    return false;
  }

  const Layout layout = PlanLayout(sizes);
  fs::path partial = out;
  partial += ".partial";
  {
    std::ofstream archive(partial, std::ios::binary | std::ios::trunc);
    if (!archive) {
      *error = "cannot create " + Quoted(partial);
      return false;
    }
    const HeaderBytes header =
        EncodeHeader(layout.header_size, static_cast<std::uint32_t>(layout.archive_size));
    archive.write(reinterpret_cast<const char*>(header.data()), header.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
      records[i].data_offset = layout.offsets[i];
      records[i].size = static_cast<std::uint32_t>(sizes[i]);
      const RecordBytes bytes = EncodeRecord(records[i]);
      archive.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    for (std::size_t i = 0; i < sources.size(); ++i) {
      std::ifstream in(sources[i], std::ios::binary);
      if (sizes[i] != 0 && !(archive << in.rdbuf())) {
        *error = "cannot copy " + Quoted(sources[i]) + " into the archive";
        std::error_code ignored;
        fs::remove(partial, ignored);
        return false;
      }
    }
    archive.close();
    std::error_code ec;
    if (!archive || fs::file_size(partial, ec) != layout.archive_size) {
      *error = "cannot write " + Quoted(partial) + " (a file changed while it was packed?)";
      fs::remove(partial, ec);
      return false;
    }
  }
  std::error_code ec;
  fs::rename(partial, out, ec);
  if (ec) {
    *error = "cannot rename " + Quoted(partial) + " to " + Quoted(out) + ": " + ec.message();
    fs::remove(partial, ec);
    return false;
  }
  return true;
}

std::string BuildArchive(const std::vector<MemoryFile>& files) {
  std::vector<std::uint64_t> sizes;
  for (const MemoryFile& file : files)
    sizes.push_back(file.record.name.empty() ? 0 : file.contents.size());
  const Layout layout = PlanLayout(sizes);
  std::string bytes;
  const HeaderBytes header =
      EncodeHeader(layout.header_size, static_cast<std::uint32_t>(layout.archive_size));
  bytes.append(reinterpret_cast<const char*>(header.data()), header.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    Record record = files[i].record;
    RecordBytes encoded{};  // an unused record is all zero
    if (!record.name.empty()) {
      record.data_offset = layout.offsets[i];
      record.size = static_cast<std::uint32_t>(sizes[i]);
      record.day_of_week = DayOfWeek(record.time);
      encoded = EncodeRecord(record);
    }
    bytes.append(reinterpret_cast<const char*>(encoded.data()), encoded.size());
  }
  for (const MemoryFile& file : files)
    if (!file.record.name.empty()) bytes += file.contents;
  return bytes;
}

}  // namespace tabpack
