// Simulated workstation: file times. A file's time is its host modification time,
// which the host keeps in UTC; the calendar conversions follow Windows' rules.
#pragma once

#include <filesystem>
#include <optional>

#include "platform/files.h"

namespace sim {

// The FILETIME of a host file time.
platform::FileTime FileTimeOf(std::filesystem::file_time_type host_time);

// The host file time of a FILETIME, for SetFileTime: nothing outside the years 1900
// to 2199, which every host's file clock holds to the nanosecond.
std::optional<std::filesystem::file_time_type> HostTimeOf(platform::FileTime time);

// FileTimeToSystemTime: nothing for a time at or beyond 2^63.
std::optional<platform::SystemTime> SystemTimeOf(platform::FileTime time);

// SystemTimeToFileTime: nothing for fields outside the calendar (years 1601 to
// 30827); the day of the week is not looked at.
std::optional<platform::FileTime> FileTimeOfFields(const platform::SystemTime& fields);

}  // namespace sim
