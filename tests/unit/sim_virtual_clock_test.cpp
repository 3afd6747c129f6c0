// The simulated machine's clock over the whole calendar of Windows.
#include <gtest/gtest.h>

#include <tuple>

#include "platform/sim/virtual_clock.h"

namespace {

TEST(SimVirtualClock, RunsFromTheFirstToTheLastYearOfTheWindowsCalendar) {
  struct Row {
    const char* start;
    int year, month, day, hour, minute, second;
  } rows[] = {
      {"1601-01-01T00:00:00", 1601, 1, 1, 0, 0, 1},
      {"1969-12-31T23:59:58", 1969, 12, 31, 23, 59, 59},
      {"9999-12-31T23:59:58", 9999, 12, 31, 23, 59, 59},
      {"30827-12-31T23:59:58", 30827, 12, 31, 23, 59, 59},
  };
  for (const Row& row : rows) {
    sim::VirtualClock clock(std::string(row.start), 0, false);
    clock.Sleep(1'500);
    const platform::LocalTime t = clock.Local();
    EXPECT_EQ(std::tie(t.year, t.month, t.day, t.hour, t.minute, t.second, t.milliseconds),
              std::make_tuple(row.year, row.month, row.day, row.hour, row.minute, row.second, 500))
        << row.start;
  }
}

}  // namespace
