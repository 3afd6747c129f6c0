// Windows side: the launcher's own module and the programs it starts.
#pragma once

#include "platform/win32/windows_api.h"

#include "platform/processes.h"

namespace win32 {

class Win32Processes final : public platform::Processes {
 public:
  explicit Win32Processes(HINSTANCE module) : module_(module) {}

  bool GetModuleFileName(std::string* path) override;
  bool CreateProcess(const platform::ProcessStart& start,
                     platform::ProcessHandles* handles) override;
  std::uint32_t WaitForSingleObject(platform::Handle process, std::uint32_t milliseconds) override;
  bool GetExitCodeProcess(platform::Handle process, std::uint32_t* exit_code) override;

 private:
  HINSTANCE module_;
};

}  // namespace win32
