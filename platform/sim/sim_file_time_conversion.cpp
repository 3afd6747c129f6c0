// Simulated workstation: conversions of file times. Local time is UTC moved by the
// machine's [machine] utc_offset, the same for every date (no daylight saving).
#include "platform/error_codes.h"
#include "platform/sim/file_times.h"
#include "platform/sim/sim_files.h"

namespace sim {
namespace {

constexpr std::int64_t kTicksPerMinute = 600'000'000;
constexpr std::int64_t kLargestFileTime = INT64_MAX;

}  // namespace

bool SimFiles::FileTimeToLocalFileTime(platform::FileTime utc, platform::FileTime* local) {
  if (s_.Fails("FileTimeToLocalFileTime")) return false;
  const std::int64_t shift = std::int64_t{s_.machine.machine.utc_offset} * kTicksPerMinute;
  if (utc > static_cast<platform::FileTime>(kLargestFileTime) ||
      static_cast<std::int64_t>(utc) + shift < 0 ||
      (shift > 0 && static_cast<std::int64_t>(utc) > kLargestFileTime - shift)) {
    s_.last_error = platform::kErrorInvalidParameter;
    return false;
  }
  *local = static_cast<platform::FileTime>(static_cast<std::int64_t>(utc) + shift);
  return true;
}

bool SimFiles::FileTimeToSystemTime(platform::FileTime time, platform::SystemTime* fields) {
  if (s_.Fails("FileTimeToSystemTime")) return false;
  auto converted = SystemTimeOf(time);
  if (!converted) {
    s_.last_error = platform::kErrorInvalidParameter;
    return false;
  }
  *fields = *converted;
  return true;
}

bool SimFiles::SystemTimeToFileTime(const platform::SystemTime& fields, platform::FileTime* time) {
  if (s_.Fails("SystemTimeToFileTime")) return false;
  auto converted = FileTimeOfFields(fields);
  if (!converted) {
    s_.last_error = platform::kErrorInvalidParameter;
    return false;
  }
  *time = *converted;
  return true;
}

}  // namespace sim
