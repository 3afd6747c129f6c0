// Windows side: programs started through the shell, and COM.
#include "platform/win32/shell_win32.h"

#include <string>

namespace win32 {

bool Win32Shell::ShellExecuteEx(const platform::ShellStart& start, platform::Handle* process) {
  const std::string verb(start.verb);
  const std::string file(start.file);
  const std::string parameters(start.parameters);

  SHELLEXECUTEINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.hwnd = reinterpret_cast<HWND>(start.owner);
  info.lpVerb = verb.empty() ? nullptr : verb.c_str();
  info.lpFile = file.c_str();
  info.lpParameters = parameters.c_str();
  info.lpDirectory = nullptr;
  info.nShow = start.show;
  if (!ShellExecuteExA(&info)) return false;
  // No handle when the shell handed the file to a program that was already running.
  *process = reinterpret_cast<platform::Handle>(info.hProcess);
  return true;
}

platform::HResult Win32Shell::CoInitialize() { return ::CoInitialize(nullptr); }

void Win32Shell::CoUninitialize() { ::CoUninitialize(); }

}  // namespace win32
