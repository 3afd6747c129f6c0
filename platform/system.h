// The running system: last error, clock and pauses, the debugger, system message
// texts and the process heap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/processes.h"
#include "platform/types.h"

namespace platform {

class System {
 public:
  virtual ~System() = default;

  virtual ErrorCode GetLastError() = 0;
  virtual void SetLastError(ErrorCode code) = 0;

  // Sleep: a fixed pause of the launcher's only thread.
  virtual void Sleep(std::uint32_t milliseconds) = 0;

  // GetLocalTime.
  virtual LocalTime GetLocalTime() = 0;

  // IsDebuggerPresent and OutputDebugStringA.
  virtual bool IsDebuggerPresent() = 0;
  virtual void OutputDebugString(std::string_view text) = 0;

  // FormatMessageA from the system message table, without line breaks: false when
  // the system has no text for the code.
  virtual bool FormatMessage(std::uint32_t code, std::string* text) = 0;

  // HeapAlloc (zero-filled) and HeapFree on the process's default heap.
  virtual void* HeapAlloc(std::size_t size) = 0;
  virtual bool HeapFree(void* block) = 0;

  // CloseHandle.
  virtual bool CloseHandle(Handle handle) = 0;
};

}  // namespace platform
