// tabpack: one install archive record and header as bytes, and the UTC times that
// records carry. The byte layout itself is the launcher's (install/tab_format.h).
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "install/tab_format.h"

namespace tabpack {

// A record's last-write time in UTC, to the millisecond.
struct UtcTime {
  int year = 1601;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;

  bool operator==(const UtcTime&) const = default;
};

// "YYYY-MM-DDTHH:MM:SS" with optional ".mmm" and "Z", the year of five digits from
// 10000 on; nothing for any other text or a date that is not in the calendar (years
// 1601 to 30827, the range of a Windows SYSTEMTIME).
std::optional<UtcTime> ParseUtcTime(std::string_view text);
// "YYYY-MM-DDTHH:MM:SS.mmmZ".
std::string FormatUtcTime(const UtcTime& time);
UtcTime UtcTimeOf(std::chrono::system_clock::time_point time);
// 0 Sunday to 6 Saturday.
int DayOfWeek(const UtcTime& time);

struct Record {
  std::string name;         // empty: an unused record
  std::string destination;  // "CUR", "FON", "WIN", "SYS", "S64"
  std::uint32_t data_offset = 0;
  std::uint32_t size = 0;
  UtcTime time;
  int day_of_week = 0;      // as stored; DayOfWeek(time) when encoded from a time
  std::uint32_t rule = 0;
  bool name_terminated = true;         // decoded: a terminator lies within the field
  bool destination_terminated = true;  // decoded: likewise
};

using RecordBytes = std::array<std::uint8_t, kTABRecordBytes>;
using HeaderBytes = std::array<std::uint8_t, kTABHeaderBytes>;

// Texts longer than their fields allow are cut to leave the terminator; the packer
// refuses them before they get here.
RecordBytes EncodeRecord(const Record& record);
Record DecodeRecord(const std::uint8_t* bytes);

HeaderBytes EncodeHeader(std::uint32_t header_size, std::uint32_t archive_size);

}  // namespace tabpack
