// Windows side: the launcher's own module and the programs it starts.
#include "platform/win32/processes_win32.h"

#include <string>

namespace win32 {

bool Win32Processes::GetModuleFileName(std::string* path) {
  char buffer[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(module_, buffer, MAX_PATH);
  if (length == 0) return false;
  // A path that does not fit comes back cut to the buffer, with length MAX_PATH (and
  // without its terminator on older systems, which also leave the last error alone):
  // a cut path names another file, so it is a failure.
  if (length >= MAX_PATH) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return false;
  }
  path->assign(buffer, length);
  return true;
}

bool Win32Processes::CreateProcess(const platform::ProcessStart& start,
                                   platform::ProcessHandles* handles) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  GetStartupInfoA(&startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = start.show_window;

  const std::string application(start.application);
  // CreateProcessA may write into the command line, so it gets a private copy.
  std::string command_line(start.command_line);
  const std::string directory(start.current_directory);

  PROCESS_INFORMATION created = {};
  if (!CreateProcessA(application.empty() ? nullptr : application.c_str(), command_line.data(),
                      nullptr, nullptr, FALSE, start.creation_flags, nullptr,
                      directory.empty() ? nullptr : directory.c_str(), &startup, &created)) {
    return false;
  }
  handles->process = reinterpret_cast<platform::Handle>(created.hProcess);
  handles->thread = reinterpret_cast<platform::Handle>(created.hThread);
  return true;
}

std::uint32_t Win32Processes::WaitForSingleObject(platform::Handle process,
                                                 std::uint32_t milliseconds) {
  return ::WaitForSingleObject(reinterpret_cast<HANDLE>(process), milliseconds);
}

bool Win32Processes::GetExitCodeProcess(platform::Handle process, std::uint32_t* exit_code) {
  DWORD code = 0;
  if (!::GetExitCodeProcess(reinterpret_cast<HANDLE>(process), &code)) return false;
  *exit_code = code;
  return true;
}

}  // namespace win32
