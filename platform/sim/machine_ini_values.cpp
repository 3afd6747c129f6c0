// Simulated workstation: the value forms of machine.ini.
#include "platform/sim/machine_ini_values.h"

#include <cstddef>
#include <cstdint>

#include "platform/sim/text_util.h"

namespace sim {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigitValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A run of decimal digits, at most `max`.
std::optional<std::uint64_t> ParseDecimal(std::string_view text, std::uint64_t max) {
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    const auto digit = static_cast<std::uint64_t>(c - '0');
    if (value > (max - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
  }
  return value;
}

// Splits `text` at `separator` into exactly `count` decimal numbers, each at most `max`.
template <std::size_t count>
bool IsDottedNumbers(std::string_view text, char separator, std::uint64_t max,
                     std::uint64_t (&parts)[count]) {
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t end = i + 1 < count ? text.find(separator) : text.size();
    if (end == std::string_view::npos) return false;
    const auto value = ParseDecimal(text.substr(0, end), max);
    if (!value) return false;
    parts[i] = *value;
    text.remove_prefix(end == text.size() ? end : end + 1);
  }
  return true;
}

bool IsLeapYear(std::uint64_t year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

}  // namespace

std::optional<std::uint64_t> ParseUnsigned(std::string_view text, std::uint64_t max) {
  if (!StartsWithIgnoreCase(text, "0x")) return ParseDecimal(text, max);
  text.remove_prefix(2);
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    const int digit = HexDigitValue(c);
    if (digit < 0) return std::nullopt;
    if (value > (max - static_cast<std::uint64_t>(digit)) / 16) return std::nullopt;
    value = value * 16 + static_cast<std::uint64_t>(digit);
  }
  return value;
}

std::optional<std::int64_t> ParseSigned(std::string_view text, std::int64_t min, std::int64_t max) {
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  // A magnitude of 2^63 is the most negative value.
  const auto magnitude = ParseUnsigned(text, std::uint64_t{1} << 63);
  if (!magnitude) return std::nullopt;
  std::int64_t value = 0;
  if (negative) {
    value = *magnitude == 0 ? 0 : -static_cast<std::int64_t>(*magnitude - 1) - 1;
  } else {
    if (*magnitude > static_cast<std::uint64_t>(INT64_MAX)) return std::nullopt;
    value = static_cast<std::int64_t>(*magnitude);
  }
  if (value < min || value > max) return std::nullopt;
  return value;
}

std::optional<bool> ParseBoolean(std::string_view text) {
  for (std::string_view yes : {"true", "yes", "1"})
    if (EqualsIgnoreCase(text, yes)) return true;
  for (std::string_view no : {"false", "no", "0"})
    if (EqualsIgnoreCase(text, no)) return false;
  return std::nullopt;
}

bool IsFileVersion(std::string_view text) {
  std::uint64_t parts[4];
  return IsDottedNumbers(text, '.', 65535, parts);
}

bool IsIpv4Address(std::string_view text) {
  std::uint64_t parts[4];
  return IsDottedNumbers(text, '.', 255, parts);
}

bool IsUtcTimestamp(std::string_view text) {
  // YYYY-MM-DDTHH:MM:SS, the year of 4 or 5 digits: Windows' calendar runs to 30827.
  const std::size_t y = text.size() == 20 ? 5 : 4;
  if (text.size() != 15 + y || text[y] != '-' || text[y + 3] != '-' || text[y + 6] != 'T' ||
      text[y + 9] != ':' || text[y + 12] != ':')
    return false;
  const auto year = ParseDecimal(text.substr(0, y), 30827);
  const auto month = ParseDecimal(text.substr(y + 1, 2), 12);
  const auto day = ParseDecimal(text.substr(y + 4, 2), 31);
  const auto hour = ParseDecimal(text.substr(y + 7, 2), 23);
  const auto minute = ParseDecimal(text.substr(y + 10, 2), 59);
  const auto second = ParseDecimal(text.substr(y + 13, 2), 59);
  if (!year || !month || !day || !hour || !minute || !second) return false;
  if (*year < 1601 || *month < 1 || *day < 1) return false;
  constexpr std::uint64_t kDaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const std::uint64_t days = kDaysInMonth[*month - 1] + (*month == 2 && IsLeapYear(*year) ? 1 : 0);
  return *day <= days;
}

bool IsSid(std::string_view text) {
  if (!StartsWithIgnoreCase(text, "S-1-")) return false;
  text.remove_prefix(4);
  // The identifier authority is a 48-bit number, each sub authority a 32-bit one;
  // Windows allows at most 15 sub authorities.
  std::size_t parts = 0;
  while (true) {
    const std::size_t end = text.find('-');
    const std::uint64_t max = parts == 0 ? 0xFFFFFFFFFFFFull : 0xFFFFFFFFull;
    const auto value = ParseDecimal(text.substr(0, end), max);
    if (!value) return false;
    ++parts;
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return parts <= 16;
}

bool IsUncShare(std::string_view text) {
  if (text.substr(0, 2) != "\\\\") return false;
  text.remove_prefix(2);
  const std::size_t separator = text.find('\\');
  return separator != std::string_view::npos && separator > 0 && separator + 1 < text.size() &&
         text[separator + 1] != '\\';
}

bool IsDrivePath(std::string_view text) {
  if (text.size() < 3 || text[1] != ':' || text[2] != '\\') return false;
  const char letter = text[0];
  return (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
}

}  // namespace sim
