// The texts that report why a program could not be started.
#include "process/start_failure_texts.h"

#include <array>

#include "platform/error_codes.h"

namespace {

struct StartFailure {
  std::uint32_t code;
  const char* process_ex;
  const char* app_ex;
};

constexpr std::array kStartFailures = {
    StartFailure{platform::kErrorFileNotFound,
                 "ExecuteProcessEx: ERROR: The process has failed to start. The specified file was not found.",
                 "ExecuteApp: ERROR: The process has failed to start. The specified file was not found."},
    StartFailure{platform::kErrorPathNotFound,
                 "ExecuteProcessEx: ERROR: The process has failed to start. The specified path was not found.",
                 "ExecuteApp: ERROR: The process has failed to start. The specified path was not found."},
    StartFailure{platform::kErrorAccessDenied,
                 "ExecuteProcessEx: ERROR: The process has failed to start. Permission to access the specified file is denied.",
                 "ExecuteApp: ERROR: The process has failed to start. Permission to access the specified file is denied."},
    StartFailure{platform::kErrorNotEnoughMemory,
                 "ExecuteProcessEx: ERROR: The process has failed to start. There is not enough memory to perform the specified action.",
                 "ExecuteApp: ERROR: The process has failed to start. There is not enough memory to perform the specified action."},
    StartFailure{platform::kErrorSharingViolation,
                 "ExecuteProcessEx: ERROR: The process has failed to start. A sharing violation occurred.",
                 "ExecuteApp: ERROR: The process has failed to start. A sharing violation occurred."},
    StartFailure{platform::kErrorNoAssociation,
                 "ExecuteProcessEx: ERROR: The process has failed to start. There is no application associated with the specified file name extension.",
                 "ExecuteApp: ERROR: The process has failed to start. There is no application associated with the specified file name extension."},
    StartFailure{platform::kErrorDllNotFound,
                 "ExecuteProcessEx: ERROR: The process has failed to start. One of the library files necessary to run the application can't be found.",
                 "ExecuteApp: ERROR: The process has failed to start. One of the library files necessary to run the application can't be found."},
};

constexpr StartFailure kOtherFailure{0, "ExecuteProcessEx: ERROR: The process has failed to start.",
                                     "ExecuteApp: ERROR: The process has failed to start."};

}  // namespace

const char* StartFailureText(Starter starter, std::uint32_t code) {
  const StartFailure* found = &kOtherFailure;
  for (const auto& failure : kStartFailures)
    if (failure.code == code) found = &failure;
  return starter == Starter::ProcessEx ? found->process_ex : found->app_ex;
}
