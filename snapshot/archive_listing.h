// The file records of an install archive: which file goes to which destination.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace snapshot {

struct ArchiveEntry {
  std::string name;
  std::string destination;  // CUR, FON, WIN, SYS or S64 in a well-formed archive
};

// The used records of the archive's first bytes (its header and record table);
// nothing for bytes that are no archive. Records past the bytes given are left out.
std::vector<ArchiveEntry> ParseArchiveListing(std::span<const std::uint8_t> bytes);

// How many of an archive's first bytes hold its header and every record table.
inline constexpr std::uint64_t kArchiveListingBytes = 100 + 65535ull * 100;

}  // namespace snapshot
