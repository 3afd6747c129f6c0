// What the fault sweep tries: the runs it makes faulty, the error each operation
// fails with, which calls of an operation it fails, and the operations whose failure
// the launcher leaves out of its error log by design.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sweep {

struct Mode {
  const char* name;
  const char* command_line;
};

// The standard start, a preload, a replace and a repair, each as the elevated instance
// ("-el") with diagnostic logging, so that every failure can reach the error log.
inline constexpr Mode kModes[] = {
    {"standard", "-d -el"},
    {"preload", "-d -el preload"},
    {"replace", "-d -el replace"},
    {"repair", "-d -el -r"},
};

// A plausible error for a failing call of `operation`.
std::uint32_t ErrorFor(std::string_view operation);

// Whether a failure of `operation` leaves no error record by design.
bool SilentByDesign(std::string_view operation);

// Whether the launcher deletes a file before replacing it by design, and reports that
// the replacement failed in one of `records`: an upgraded archive entry or a cache copy,
// whose source stays where it was and which the next run puts back.
bool LossReportedByDesign(std::string_view file_name, const std::vector<std::string>& records);

// The call numbers tried among `calls`: all of them, or the first, a middle and the last.
std::vector<std::uint32_t> CallsToFail(std::uint32_t calls, bool all);

}  // namespace sweep
