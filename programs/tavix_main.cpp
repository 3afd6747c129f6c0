// Windows side: the entry point of Tavix.exe. It only hands the command line and
// the real machine to the launcher and returns the launcher's exit code.
#include "platform/win32/windows_api.h"

#include "launcher/win_main.h"
#include "platform/win32/win32_platform.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR command_line,
                   int /*show_command*/) {
  win32::Win32Platform windows(instance);
  return RunLauncher(windows.platform(), command_line != nullptr ? command_line : "");
}
