// How a wait for a program started through the shell is reported, by the result
// of the wait.
#pragma once

#include <cstdint>

struct WaitOutcome {
  const char* record;
  bool is_error;       // an error record; otherwise a debug record
  bool has_exit_code;  // the program ended: its exit code is the result
  std::int32_t result;  // the result when the program's exit code is not known
};

// The outcome of WaitForSingleObject's `wait_result`; never null.
const WaitOutcome& WaitOutcomeOf(std::uint32_t wait_result);
