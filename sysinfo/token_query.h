// Queries of the launcher's own process token. They are not expected to fail on a
// working system; when one does, the system error code is raised as a
// TokenQueryFailure, every token, SID and block taken so far is released on the way
// out, and the loader ends the run.
#pragma once

#include "platform/processes.h"
#include "platform/types.h"

struct Launcher;

struct TokenQueryFailure {
  platform::ErrorCode code;
  const char* call;  // the system call that failed
};

// Raises the last error of the failed `call`.
[[noreturn]] void RaiseTokenQueryFailure(Launcher& l, const char* call);

// A token handle, closed when it goes out of scope: with CloseAndDestroyHandle under
// `label` when one is given (logged), otherwise quietly.
class TokenHandle {
 public:
  explicit TokenHandle(Launcher& l, const char* label = nullptr) : l_(l), label_(label) {}
  ~TokenHandle();
  TokenHandle(const TokenHandle&) = delete;
  TokenHandle& operator=(const TokenHandle&) = delete;

  platform::Handle get() const { return handle_; }
  platform::Handle* receive() { return &handle_; }
  // Nothing opened yet, or released.
  bool empty() const { return handle_ == platform::kNoHandle || handle_ == platform::kInvalidHandle; }

 private:
  Launcher& l_;
  const char* label_;
  platform::Handle handle_ = platform::kNoHandle;
};
