// What the fault sweep tries: the runs it makes faulty, the error each operation
// fails with, which calls of an operation it fails, and what a failure may do by design:
// leave no error record, lose a file it reports, or leave a change the next run keeps.
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
// ("-el") with developer-level logging, so that every failure can reach the error log
// and a call that failed in the clean run too shows as the same records.
inline constexpr Mode kModes[] = {
    {"standard", "-d100 -el"},
    {"preload", "-d100 -el preload"},
    {"replace", "-d100 -el replace"},
    {"repair", "-d100 -el -r"},
};

// A plausible error for a failing call of `operation`.
std::uint32_t ErrorFor(std::string_view operation);

// Whether a failure of `operation` leaves no error record by design, where
// `new_debug_records` (the debug records the faulty run wrote and the clean run did not)
// or `failed_calls` (the simulated machine's faults.log) show it struck.
bool SilentByDesign(std::string_view operation, const std::vector<std::string>& new_debug_records,
                    const std::vector<std::string>& failed_calls);

// Whether `finding`, a file lost or a difference left after the next clean run, follows
// from a failure of `operation` by design.
bool ChangeByDesign(std::string_view operation, std::string_view finding);

// Whether the launcher deletes a file before replacing it by design, and reports that
// the replacement failed in one of `records`: an upgraded archive entry or a cache copy,
// whose source stays where it was and which the next run puts back.
bool LossReportedByDesign(std::string_view file_name, const std::vector<std::string>& records);

// The call numbers tried among `calls`: all of them, or the first, a middle and the last.
std::vector<std::uint32_t> CallsToFail(std::uint32_t calls, bool all);

}  // namespace sweep
