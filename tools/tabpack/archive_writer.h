// tabpack: writing an archive. The header and the record table come first, then the
// files' contents in record order; ArchiveSize holds the size of the whole file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/tabpack/archive_layout.h"
#include "tools/tabpack/manifest.h"

namespace tabpack {

// The largest archive: its size and every offset in it are 32-bit numbers.
inline constexpr std::uint64_t kLargestArchive = 0xFFFFFFFF;

struct Layout {
  std::uint32_t header_size = 0;
  std::vector<std::uint32_t> offsets;  // where each file's contents start
  std::uint64_t archive_size = 0;
};

// Lays out files of these sizes; an archive_size above kLargestArchive does not fit
// (the offsets are then meaningless).
Layout PlanLayout(const std::vector<std::uint64_t>& sizes);

// Why files of these sizes cannot make one archive; empty when they can.
std::string CheckArchiveLimits(const std::vector<std::uint64_t>& sizes);

// Packs the files of the manifest lines, read from `folder`, into `out`. The archive
// is written beside `out` and renamed onto it only when complete. False and `*error`
// when it is refused or cannot be written.
bool PackArchive(const std::vector<ManifestLine>& lines, const std::filesystem::path& folder,
                 const std::filesystem::path& out, std::string* error);

// An archive in memory, for tests and tools: the records as given, each followed in
// the data by its contents. Offsets, sizes, days of the week, HeaderSize and
// ArchiveSize are filled in; a record with an empty name is unused and stored as
// zeros. Nothing is checked, so damaged archives can be made from good ones.
struct MemoryFile {
  Record record;
  std::string contents;
};
std::string BuildArchive(const std::vector<MemoryFile>& files);

}  // namespace tabpack
