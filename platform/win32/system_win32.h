// Windows side: last error, clock and pauses, the debugger, system message texts
// and the process heap.
#pragma once

#include "platform/win32/windows_api.h"

#include "platform/system.h"

namespace win32 {

class Win32System final : public platform::System {
 public:
  platform::ErrorCode GetLastError() override;
  void SetLastError(platform::ErrorCode code) override;
  void Sleep(std::uint32_t milliseconds) override;
  platform::LocalTime GetLocalTime() override;
  bool IsDebuggerPresent() override;
  void OutputDebugString(std::string_view text) override;
  bool FormatMessage(std::uint32_t code, std::string* text) override;
  void* HeapAlloc(std::size_t size) override;
  bool HeapFree(void* block) override;
  bool CloseHandle(platform::Handle handle) override;
};

}  // namespace win32
