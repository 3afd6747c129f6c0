// Queries of the launcher's own process token.
#include "sysinfo/token_query.h"

#include "diag/heap_helpers.h"
#include "base/launcher.h"

void RaiseTokenQueryFailure(Launcher& l, const char* call) {
  throw TokenQueryFailure{l.os.system.GetLastError(), call};
}

TokenHandle::~TokenHandle() {
  if (label_ != nullptr) {
    // A token never opened is logged as already free, as a released one is.
    if (handle_ == platform::kNoHandle) handle_ = platform::kInvalidHandle;
    CloseAndDestroyHandle(l_, handle_, label_);
  } else if (!empty()) {
    l_.os.system.CloseHandle(handle_);
  }
}
