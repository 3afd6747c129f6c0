// Simulated workstation: the value forms of machine.ini. Each function checks one
// form and returns nothing for a text that does not have it.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace sim {

// Decimal or 0x hexadecimal, at most `max`.
std::optional<std::uint64_t> ParseUnsigned(std::string_view text, std::uint64_t max);

// Decimal or 0x hexadecimal with an optional leading '-', within [min, max].
std::optional<std::int64_t> ParseSigned(std::string_view text, std::int64_t min, std::int64_t max);

// true/false, yes/no, 1/0, in any case.
std::optional<bool> ParseBoolean(std::string_view text);

// A file version: four decimal numbers "a.b.c.d", each 0..65535.
bool IsFileVersion(std::string_view text);

// A UTC time "YYYY-MM-DDTHH:MM:SS" that exists on the calendar, from 1601 (where
// Windows file times begin) to 30827 (where its calendar ends); the year may have 5
// digits.
bool IsUtcTimestamp(std::string_view text);

// A dotted IPv4 address "a.b.c.d", each 0..255.
bool IsIpv4Address(std::string_view text);

// A SID in its text form "S-1-<authority>-<sub authority>...".
bool IsSid(std::string_view text);

// A UNC share "\\server\share".
bool IsUncShare(std::string_view text);

// An absolute Windows path on a drive: "C:\..." with any letter.
bool IsDrivePath(std::string_view text);

}  // namespace sim
