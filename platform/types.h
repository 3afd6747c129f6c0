// Types shared by every platform interface. OS-neutral: included by decision code
// and by both platform sides.
#pragma once

#include <cstdint>

namespace platform {

// A Windows system error code as GetLastError reports it, or a registry LSTATUS.
using ErrorCode = std::uint32_t;

// A window; kNoWindow stands for "none" (no owner, no status window).
using WindowHandle = std::uintptr_t;
inline constexpr WindowHandle kNoWindow = 0;

// Local calendar time as GetLocalTime reports it.
struct LocalTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int milliseconds = 0;
};

}  // namespace platform
