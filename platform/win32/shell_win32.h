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
  // Shell links (shell_links_win32.cpp).
  platform::HResult CreateShellLink(platform::ShellLink* link) override;
  platform::HResult SetShellLinkField(platform::ShellLink link, platform::ShellLinkField field,
                                      std::string_view value) override;
  platform::HResult QueryPersistFile(platform::ShellLink link) override;
  platform::HResult SaveShellLink(platform::ShellLink link, std::string_view path) override;
  void ReleaseShellLink(platform::ShellLink link) override;
};

}  // namespace win32
