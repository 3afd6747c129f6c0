// tabpack: reading an archive back, for listing and verifying it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tools/tabpack/archive_layout.h"

namespace tabpack {

struct ArchiveView {
  std::uint32_t header_size = 0;
  std::uint32_t archive_size = 0;  // as recorded; 0 = not recorded
  std::uint64_t file_size = 0;     // as found
  std::vector<Record> records;
};

// The header and the record table of an archive from `head`, its first bytes (at
// least the header and the table), and the size of the whole file; nothing and
// `*error` when it is no archive or its table is not all there.
std::optional<ArchiveView> ReadArchive(const std::string& head, std::uint64_t file_size,
                                       std::string* error);

// Everything that keeps the launcher from opening the archive or installing one of
// its files as recorded; empty for a sound archive.
std::vector<std::string> VerifyArchive(const std::string& head, std::uint64_t file_size);

// The first bytes of a file, as many as its header says its header and table take
// (never more than the largest table), and the file's size; nothing when it cannot
// be read.
std::optional<std::string> ReadArchiveHead(const std::filesystem::path& path,
                                           std::uint64_t* file_size);

}  // namespace tabpack
