// How a wait for a program started through the shell is reported.
#include "process/wait_results.h"

#include <array>

#include "platform/processes.h"

namespace {

struct WaitRow {
  std::uint32_t wait_result;
  WaitOutcome outcome;
};

// A program that outlasts the wait is left running and reported as 0, the result of
// a program that ended with exit code 0.
constexpr std::array kWaitRows = {
    WaitRow{platform::kWaitObject0, {"ExecuteApp: WaitForSingleObject has returned OK.", false, true, 0}},
    WaitRow{platform::kWaitTimeout,
            {"ExecuteApp: WaitForSingleObject has returned due to timeout.", false, false, 0}},
    WaitRow{platform::kWaitAbandoned,
            {"ExecuteApp: WaitForSingleObject has returned ABANDONED.", false, false, -1}},
    WaitRow{platform::kWaitFailed, {"ExecuteApp: ERROR: WaitForSingleObject has FAILED.", true, false, -1}},
};

constexpr WaitOutcome kUnknownWaitResult{"ExecuteApp: ERROR: WaitForSingleObject has an unknown failure.",
                                         true, false, -1};

}  // namespace

const WaitOutcome& WaitOutcomeOf(std::uint32_t wait_result) {
  for (const auto& row : kWaitRows)
    if (row.wait_result == wait_result) return row.outcome;
  return kUnknownWaitResult;
}
