#include "snapshot/archive_listing.h"

#include <algorithm>
#include <cstring>

#include "install/tab_file.h"
#include "install/tab_format.h"

namespace snapshot {

std::vector<ArchiveEntry> ParseArchiveListing(std::span<const std::uint8_t> bytes) {
  std::vector<ArchiveEntry> entries;
  if (bytes.size() < kTABHeaderBytes ||
      std::memcmp(bytes.data(), kTABMagic.data(), kTABMagic.size()) != 0)
    return entries;
  const std::uint32_t header_size = ReadLittleEndian32(bytes.data() + kTABHeaderSizeOffset);
  if (header_size < kTABHeaderBytes) return entries;
  const std::uint64_t table_end = std::min<std::uint64_t>(header_size, bytes.size());
  for (std::uint64_t at = kTABHeaderBytes; at + kTABRecordBytes <= table_end;
       at += kTABRecordBytes) {
    TABFileRecord record;
    CopyTABFileRecord(bytes.data() + at, record);
    if (record.FileName[0] != '\0') entries.push_back({record.FileName, record.Destination});
  }
  return entries;
}

}  // namespace snapshot
