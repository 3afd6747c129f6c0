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
  // `start_utc` "YYYY-MM-DDTHH:MM:SS", or the host's current time when absent.
  VirtualClock(const std::optional<std::string>& start_utc, std::int32_t utc_offset_minutes,
               bool real_sleep);

  void Sleep(std::uint32_t milliseconds);
  platform::LocalTime Local() const;
  std::chrono::system_clock::time_point NowUtc() const { return start_ + elapsed_; }
  std::uint64_t ElapsedMilliseconds() const { return elapsed_.count(); }

  // Parses "YYYY-MM-DDTHH:MM:SS" as UTC.
  static std::optional<std::chrono::system_clock::time_point> ParseUtc(const std::string& text);

 private:
  std::chrono::system_clock::time_point start_;
  std::chrono::milliseconds elapsed_{0};
  std::chrono::minutes offset_;
  bool real_sleep_;
};

}  // namespace sim
