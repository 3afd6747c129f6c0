// tabpack: laying out and writing archives.
#include "tools/tabpack/archive_writer.h"

#include <cstdio>
#include <memory>
#include <system_error>

#include "tools/tabpack/shown_text.h"

namespace tabpack {
namespace fs = std::filesystem;
namespace {

std::string Quoted(const fs::path& path) { return QuotedShown(path.string(), kShownPath); }

struct CloseFile {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, CloseFile>;

bool Write(std::FILE* file, const void* bytes, std::size_t size) {
  return std::fwrite(bytes, 1, size, file) == size;
}

// Appends the whole of `source` to `archive`.
bool CopyInto(std::FILE* archive, const fs::path& source) {
  const File in(std::fopen(source.c_str(), "rb"));
  if (!in) return false;
  char buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, in.get())) > 0;)
    if (!Write(archive, buffer, n)) return false;
  return !std::ferror(in.get());
}

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
  // Created exclusively: an existing OUT.partial, a symbolic link planted there
  // included, is never opened, so the packer cannot write through it.
  File archive(std::fopen(partial.c_str(), "wbx"));
  if (!archive) {
    std::error_code ec;
    *error = "cannot create " + Quoted(partial) +
             (fs::symlink_status(partial, ec).type() != fs::file_type::not_found
                  ? " (it exists: left by an interrupted pack? remove it and pack again)"
                  : "");
    return false;
  }
  const HeaderBytes header =
      EncodeHeader(layout.header_size, static_cast<std::uint32_t>(layout.archive_size));
  bool written = Write(archive.get(), header.data(), header.size());
  for (std::size_t i = 0; written && i < records.size(); ++i) {
    records[i].data_offset = layout.offsets[i];
    records[i].size = static_cast<std::uint32_t>(sizes[i]);
    const RecordBytes bytes = EncodeRecord(records[i]);
    written = Write(archive.get(), bytes.data(), bytes.size());
  }
  for (std::size_t i = 0; written && i < sources.size(); ++i) {
    if (!CopyInto(archive.get(), sources[i])) {
      *error = "cannot copy " + Quoted(sources[i]) + " into the archive";
      archive.reset();
      std::error_code ignored;
      fs::remove(partial, ignored);
      return false;
    }
  }
  written = std::fclose(archive.release()) == 0 && written;
  std::error_code ec;
  if (!written || fs::file_size(partial, ec) != layout.archive_size) {
    *error = "cannot write " + Quoted(partial) + " (a file changed while it was packed?)";
    fs::remove(partial, ec);
    return false;
  }
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
