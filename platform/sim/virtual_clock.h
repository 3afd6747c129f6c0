// Simulated workstation: the machine's clock. Pauses advance it instead of waiting,
// so a run of many seconds takes none; with real sleep they also wait.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/types.h"

namespace sim {

class VirtualClock {
 public:
  // Times in milliseconds: the calendar of Windows (years 1601 to 30827) lies far
  // outside what a count of nanoseconds since 1970 can hold.
  using TimePoint = std::chrono::time_point<std::chrono::system_clock, std::chrono::milliseconds>;

  // `start_utc` "YYYY-MM-DDTHH:MM:SS", or the host's current time when absent.
  VirtualClock(const std::optional<std::string>& start_utc, std::int32_t utc_offset_minutes,
               bool real_sleep);

  void Sleep(std::uint32_t milliseconds);
  platform::LocalTime Local() const;
  TimePoint NowUtc() const { return start_ + elapsed_; }
  std::uint64_t ElapsedMilliseconds() const { return elapsed_.count(); }

  // Parses "YYYY-MM-DDTHH:MM:SS" as UTC; the year has 4 or 5 digits.
  static std::optional<TimePoint> ParseUtc(const std::string& text);

 private:
  TimePoint start_;
  std::chrono::milliseconds elapsed_{0};
  std::chrono::minutes offset_;
  bool real_sleep_;
};

}  // namespace sim
