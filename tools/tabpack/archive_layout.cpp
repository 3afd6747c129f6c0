// tabpack: records, headers and UTC times as the archive stores them.
#include "tools/tabpack/archive_layout.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace tabpack {
namespace {

using namespace std::chrono;

void WriteLittleEndian32(std::uint8_t* bytes, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void WriteLittleEndian16(std::uint8_t* bytes, int value) {
  bytes[0] = static_cast<std::uint8_t>(value);
  bytes[1] = static_cast<std::uint8_t>(value >> 8);
}

// Copies a text into a field, keeping the field's last byte for the terminator.
void PutText(std::uint8_t* field, std::size_t field_size, std::string_view text) {
  std::memcpy(field, text.data(), std::min(text.size(), field_size - 1));
}

std::string TakeText(const std::uint8_t* field, std::size_t field_size, bool* terminated) {
  const auto* begin = reinterpret_cast<const char*>(field);
  const auto* end = std::find(begin, begin + field_size, '\0');
  *terminated = end != begin + field_size;
  return std::string(begin, end);
}

bool InCalendar(const UtcTime& t) {
  const year_month_day date{year{t.year}, month{static_cast<unsigned>(t.month)},
                            day{static_cast<unsigned>(t.day)}};
  return t.year >= 1601 && t.year <= 30827 && t.month >= 1 && t.day >= 1 && date.ok() &&
         t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 &&
         t.second <= 59 && t.millisecond >= 0 && t.millisecond <= 999;
}

}  // namespace

std::optional<UtcTime> ParseUtcTime(std::string_view text) {
  if (!text.empty() && (text.back() == 'Z' || text.back() == 'z')) text.remove_suffix(1);
  // Years from 10000 to 30827 take a fifth digit; the rest of the pattern follows it.
  const std::size_t year_digits = text.size() > 4 && text[4] != '-' && text[0] != '0' ? 5 : 4;
  const std::string_view year_text = text.substr(0, year_digits);
  text.remove_prefix(year_text.size());
  // Digits where the pattern has 'd', the other characters as they stand.
  constexpr std::string_view kPattern = "-dd-ddTdd:dd:dd";
  constexpr std::string_view kFraction = ".ddd";
  if (year_text.size() != year_digits ||
      (text.size() != kPattern.size() && text.size() != kPattern.size() + kFraction.size()))
    return std::nullopt;
  const std::string pattern = std::string(kPattern) + std::string(kFraction);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (pattern[i] == 'd' ? !digit : text[i] != pattern[i]) return std::nullopt;
  }
  auto number = [](std::string_view digits, std::size_t at, std::size_t length) {
    int value = 0;
    for (std::size_t i = at; i < at + length; ++i) {
      if (digits[i] < '0' || digits[i] > '9') return -1;
      value = value * 10 + (digits[i] - '0');
    }
    return value;
  };
  UtcTime t;
  t.year = number(year_text, 0, year_digits);
  t.month = number(text, 1, 2);
  t.day = number(text, 4, 2);
  t.hour = number(text, 7, 2);
  t.minute = number(text, 10, 2);
  t.second = number(text, 13, 2);
  if (text.size() > kPattern.size()) t.millisecond = number(text, 16, 3);
  if (!InCalendar(t)) return std::nullopt;
  return t;
}

std::string FormatUtcTime(const UtcTime& t) {
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", t.year, t.month, t.day,
                t.hour, t.minute, t.second, t.millisecond);
  return text;
}

UtcTime UtcTimeOf(system_clock::time_point time) {
  const auto ms = floor<milliseconds>(time);
  const auto day_start = floor<days>(ms);
  const year_month_day date{day_start};
  const hh_mm_ss clock{ms - day_start};
  UtcTime t;
  t.year = static_cast<int>(date.year());
  t.month = static_cast<int>(static_cast<unsigned>(date.month()));
  t.day = static_cast<int>(static_cast<unsigned>(date.day()));
  t.hour = static_cast<int>(clock.hours().count());
  t.minute = static_cast<int>(clock.minutes().count());
  t.second = static_cast<int>(clock.seconds().count());
  t.millisecond = static_cast<int>(clock.subseconds().count());
  return t;
}

int DayOfWeek(const UtcTime& t) {
  const year_month_day date{year{t.year}, month{static_cast<unsigned>(t.month)},
                            day{static_cast<unsigned>(t.day)}};
  return static_cast<int>(weekday{sys_days{date}}.c_encoding());
}

RecordBytes EncodeRecord(const Record& record) {
  RecordBytes bytes{};
  PutText(bytes.data() + kTABFileNameOffset, kTABFileNameBytes, record.name);
  PutText(bytes.data() + kTABDestinationOffset, kTABDestinationBytes, record.destination);
  WriteLittleEndian32(bytes.data() + kTABDataOffsetOffset, record.data_offset);
  WriteLittleEndian32(bytes.data() + kTABSizeOffset, record.size);
  std::uint8_t* time = bytes.data() + kTABFileTimeOffset;
  const int fields[] = {record.time.year, record.time.month,  record.time.day,
                        record.day_of_week, record.time.hour, record.time.minute,
                        record.time.second, record.time.millisecond};
  for (int i = 0; i < 8; ++i) WriteLittleEndian16(time + 2 * i, fields[i]);
  WriteLittleEndian32(bytes.data() + kTABInstallTypeOffset, record.rule);
  return bytes;
}

Record DecodeRecord(const std::uint8_t* bytes) {
  Record record;
  record.name = TakeText(bytes + kTABFileNameOffset, kTABFileNameBytes, &record.name_terminated);
  record.destination =
      TakeText(bytes + kTABDestinationOffset, kTABDestinationBytes, &record.destination_terminated);
  record.data_offset = ReadLittleEndian32(bytes + kTABDataOffsetOffset);
  record.size = ReadLittleEndian32(bytes + kTABSizeOffset);
  const std::uint8_t* time = bytes + kTABFileTimeOffset;
  record.time.year = ReadLittleEndian16(time);
  record.time.month = ReadLittleEndian16(time + 2);
  record.time.day = ReadLittleEndian16(time + 4);
  record.day_of_week = ReadLittleEndian16(time + 6);
  record.time.hour = ReadLittleEndian16(time + 8);
  record.time.minute = ReadLittleEndian16(time + 10);
  record.time.second = ReadLittleEndian16(time + 12);
  record.time.millisecond = ReadLittleEndian16(time + 14);
  record.rule = ReadLittleEndian32(bytes + kTABInstallTypeOffset);
  return record;
}

HeaderBytes EncodeHeader(std::uint32_t header_size, std::uint32_t archive_size) {
  HeaderBytes bytes{};
  std::memcpy(bytes.data(), kTABMagic.data(), kTABMagic.size());
  WriteLittleEndian32(bytes.data() + kTABHeaderSizeOffset, header_size);
  WriteLittleEndian32(bytes.data() + kTABArchiveSizeOffset, archive_size);
  return bytes;
}

}  // namespace tabpack
