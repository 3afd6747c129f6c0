// The layout of the install archive tsystem0.dll: a 100-byte header, a table of
// 100-byte file records, then the files' contents at the offsets the records give.
// Integers are little-endian, texts single-byte. Shared by the launcher's reader and
// the packer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

inline constexpr std::string_view kTABArchiveName = "tsystem0.dll";

// Header: the magic, then HeaderSize (header plus record table, in bytes) and
// ArchiveSize (the whole file; 0 = not recorded).
inline constexpr std::string_view kTABMagic = "TRACERFILE";
inline constexpr std::size_t kTABHeaderSizeOffset = 10;
inline constexpr std::size_t kTABArchiveSizeOffset = 14;
inline constexpr std::uint32_t kTABHeaderBytes = 100;

// File record fields, by offset within the record; the last 12 bytes are not read.
inline constexpr std::uint32_t kTABRecordBytes = 100;
inline constexpr std::size_t kTABFileNameOffset = 0;
inline constexpr std::size_t kTABFileNameBytes = 50;
inline constexpr std::size_t kTABDestinationOffset = 50;
inline constexpr std::size_t kTABDestinationBytes = 10;
inline constexpr std::size_t kTABDataOffsetOffset = 60;
inline constexpr std::size_t kTABSizeOffset = 64;
inline constexpr std::size_t kTABFileTimeOffset = 68;  // eight 16-bit values
inline constexpr std::size_t kTABInstallTypeOffset = 84;

// The record count is 16 bits wide.
inline constexpr std::uint32_t kTABMaxRecords = 65535;

inline std::uint16_t ReadLittleEndian16(const std::uint8_t* bytes) {
  return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

inline std::uint32_t ReadLittleEndian32(const std::uint8_t* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
         (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}
