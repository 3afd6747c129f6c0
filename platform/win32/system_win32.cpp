// Windows side: last error, clock and pauses, the debugger, system message texts
// and the process heap.
#include "platform/win32/system_win32.h"

#include <string>

namespace win32 {
namespace {

// The system allocates the text; it comes from the system message table, and the
// maximum-width mask turns the table's line breaks into spaces.
constexpr DWORD kSystemMessageFlags =
    FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_MAX_WIDTH_MASK;
static_assert(kSystemMessageFlags == 0x11FF);

}  // namespace

platform::ErrorCode Win32System::GetLastError() { return ::GetLastError(); }

void Win32System::SetLastError(platform::ErrorCode code) { ::SetLastError(code); }

void Win32System::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

platform::LocalTime Win32System::GetLocalTime() {
  SYSTEMTIME now = {};
  ::GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond,
          now.wMilliseconds};
}

bool Win32System::IsDebuggerPresent() { return ::IsDebuggerPresent() != FALSE; }

void Win32System::OutputDebugString(std::string_view text) {
  OutputDebugStringA(std::string(text).c_str());
}

bool Win32System::FormatMessage(std::uint32_t code, std::string* text) {
  char* message = nullptr;
  // With FORMAT_MESSAGE_ALLOCATE_BUFFER the buffer argument receives the address
  // of the text the system allocated.
  const DWORD length = FormatMessageA(kSystemMessageFlags, nullptr, code, 0,
                                      reinterpret_cast<char*>(&message), 1, nullptr);
  if (length == 0) return false;  // nothing was allocated
  text->assign(message, length);
  LocalFree(message);
  return true;
}

void* Win32System::HeapAlloc(std::size_t size) {
  return ::HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
}

bool Win32System::HeapFree(void* block) {
  return ::HeapFree(GetProcessHeap(), 0, block) != FALSE;
}

bool Win32System::CloseHandle(platform::Handle handle) {
  return ::CloseHandle(reinterpret_cast<HANDLE>(handle)) != FALSE;
}

}  // namespace win32
