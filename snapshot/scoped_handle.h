// Owns a handle the system's CloseHandle ends.
#pragma once

#include <utility>

#include "platform/processes.h"
#include "platform/system.h"

namespace snapshot {

class ScopedHandle {
 public:
  explicit ScopedHandle(platform::System& system, platform::Handle handle = platform::kInvalidHandle)
      : system_(&system), handle_(handle) {}
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ~ScopedHandle() {
    if (handle_ != platform::kInvalidHandle && handle_ != 0) system_->CloseHandle(handle_);
  }
  platform::Handle get() const { return handle_; }
  platform::Handle* receive() { return &handle_; }

 private:
  platform::System* system_;
  platform::Handle handle_;
};

}  // namespace snapshot
