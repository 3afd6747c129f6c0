// Simulated workstation: the machine's clock.
#include "platform/sim/virtual_clock.h"

#include <cstdio>
#include <thread>

namespace sim {

using namespace std::chrono;

std::optional<VirtualClock::TimePoint> VirtualClock::ParseUtc(const std::string& text) {
  int y, mo, d, h, mi, s;
  char tail;
  if (std::sscanf(text.c_str(), "%5d-%2d-%2dT%2d:%2d:%2d%c", &y, &mo, &d, &h, &mi, &s, &tail) != 6)
    return std::nullopt;
  year_month_day date{year{y}, month{static_cast<unsigned>(mo)}, day{static_cast<unsigned>(d)}};
  if (!date.ok() || h > 23 || mi > 59 || s > 59 || h < 0 || mi < 0 || s < 0) return std::nullopt;
  return TimePoint{sys_days{date} + hours{h} + minutes{mi} + seconds{s}};
}

VirtualClock::VirtualClock(const std::optional<std::string>& start_utc,
                           std::int32_t utc_offset_minutes, bool real_sleep)
    : start_(time_point_cast<milliseconds>(system_clock::now())),
      offset_(utc_offset_minutes),
      real_sleep_(real_sleep) {
  if (start_utc)
    if (auto parsed = ParseUtc(*start_utc)) start_ = *parsed;
}

void VirtualClock::Sleep(std::uint32_t milliseconds) {
  if (real_sleep_) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  elapsed_ += std::chrono::milliseconds(milliseconds);
}

platform::LocalTime VirtualClock::Local() const {
  const TimePoint local = NowUtc() + offset_;
  auto days = floor<std::chrono::days>(local);
  year_month_day date{days};
  hh_mm_ss time{local - days};
  platform::LocalTime t;
  t.year = static_cast<int>(date.year());
  t.month = static_cast<int>(static_cast<unsigned>(date.month()));
  t.day = static_cast<int>(static_cast<unsigned>(date.day()));
  t.hour = static_cast<int>(time.hours().count());
  t.minute = static_cast<int>(time.minutes().count());
  t.second = static_cast<int>(time.seconds().count());
  t.milliseconds = static_cast<int>(time.subseconds().count());
  return t;
}

}  // namespace sim
