// Simulated workstation: file times and their calendar fields.
#include "platform/sim/file_times.h"

#include <chrono>

namespace sim {
namespace {

using namespace std::chrono;

// 100-nanosecond intervals.
using Ticks = duration<std::int64_t, std::ratio<1, 10'000'000>>;

constexpr sys_days kFileTimeEpoch = sys_days{year{1601} / January / 1};
constexpr std::int64_t kTicksPerDay = 864'000'000'000;

}  // namespace

platform::FileTime FileTimeOf(std::filesystem::file_time_type host_time) {
  // In 100-nanosecond steps before the epochs are compared: nanoseconds since 1601
  // do not fit in 64 bits.
  const Ticks since_1970 = floor<Ticks>(file_clock::to_sys(host_time).time_since_epoch());
  const auto ticks = since_1970 - Ticks{kFileTimeEpoch.time_since_epoch()};
  return ticks.count() < 0 ? 0 : static_cast<platform::FileTime>(ticks.count());
}

std::optional<std::filesystem::file_time_type> HostTimeOf(platform::FileTime time) {
  constexpr auto kFirst = sys_days{year{1900} / January / 1};
  constexpr auto kEnd = sys_days{year{2200} / January / 1};
  const auto first = static_cast<platform::FileTime>(Ticks{kFirst - kFileTimeEpoch}.count());
  const auto end = static_cast<platform::FileTime>(Ticks{kEnd - kFileTimeEpoch}.count());
  if (time < first || time >= end) return std::nullopt;
  const sys_time<Ticks> moment{Ticks{static_cast<std::int64_t>(time)} +
                               Ticks{kFileTimeEpoch.time_since_epoch()}};
  return file_clock::from_sys(time_point_cast<nanoseconds>(moment));
}

std::optional<platform::SystemTime> SystemTimeOf(platform::FileTime time) {
  if (time >= (platform::FileTime{1} << 63)) return std::nullopt;
  const auto count = static_cast<std::int64_t>(time);
  const sys_days day = kFileTimeEpoch + days{count / kTicksPerDay};
  const year_month_day date{day};
  const std::int64_t in_day = count % kTicksPerDay;  // ticks since midnight
  const std::int64_t milliseconds = in_day / 10'000;
  platform::SystemTime fields;
  fields.year = static_cast<std::uint16_t>(static_cast<int>(date.year()));
  fields.month = static_cast<std::uint16_t>(static_cast<unsigned>(date.month()));
  fields.day = static_cast<std::uint16_t>(static_cast<unsigned>(date.day()));
  fields.day_of_week = static_cast<std::uint16_t>(weekday{day}.c_encoding());
  fields.hour = static_cast<std::uint16_t>(milliseconds / 3'600'000);
  fields.minute = static_cast<std::uint16_t>(milliseconds / 60'000 % 60);
  fields.second = static_cast<std::uint16_t>(milliseconds / 1'000 % 60);
  fields.milliseconds = static_cast<std::uint16_t>(milliseconds % 1'000);
  return fields;
}

std::optional<platform::FileTime> FileTimeOfFields(const platform::SystemTime& fields) {
  if (fields.year < 1601 || fields.year > 30827 || fields.hour > 23 || fields.minute > 59 ||
      fields.second > 59 || fields.milliseconds > 999)
    return std::nullopt;
  const year_month_day date{year{fields.year}, month{fields.month}, day{fields.day}};
  if (!date.ok()) return std::nullopt;
  const std::int64_t days_since_epoch = (sys_days{date} - kFileTimeEpoch).count();
  const std::int64_t milliseconds =
      ((fields.hour * 60 + fields.minute) * 60 + fields.second) * 1'000 + fields.milliseconds;
  return static_cast<platform::FileTime>(days_since_epoch * kTicksPerDay + milliseconds * 10'000);
}

}  // namespace sim
