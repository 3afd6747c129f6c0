// Windows side: programs started through the shell, and COM.
#pragma once

#include "platform/win32/windows_api.h"

#include "platform/shell.h"

namespace win32 {

class Win32Shell final : public platform::Shell {
 public:
  bool ShellExecuteEx(const platform::ShellStart& start, platform::Handle* process) override;
  platform::HResult CoInitialize() override;
  void CoUninitialize() override;
};

}  // namespace win32
