// Windows side: the real machine behind every platform interface, one object per
// interface, all for the launcher's own module.
#pragma once

#include "platform/win32/windows_api.h"

#include "platform/platform.h"
#include "platform/win32/files_win32.h"
#include "platform/win32/network_win32.h"
#include "platform/win32/processes_win32.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/security_win32.h"
#include "platform/win32/shell_win32.h"
#include "platform/win32/system_info_win32.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/user_interface_win32.h"

namespace win32 {

class Win32Platform {
 public:
  // `module` is the launcher's own: its path, dialogs and strings.
  explicit Win32Platform(HINSTANCE module);
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  platform::Platform& platform() { return platform_; }

 private:
  Win32FileSystem files_;
  Win32Registry registry_;
  Win32Processes processes_;
  Win32UserInterface ui_;
  Win32System system_;
  Win32Shell shell_;
  Win32SystemInfo system_info_;
  Win32Security security_;
  Win32Network network_;
  platform::Platform platform_;
};

}  // namespace win32
