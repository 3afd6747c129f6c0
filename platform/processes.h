// Processes: the launcher's own module and the programs it starts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/types.h"

namespace platform {

using Handle = std::uintptr_t;
// INVALID_HANDLE_VALUE: the all-ones value also marks a released handle or block.
inline constexpr Handle kInvalidHandle = ~static_cast<Handle>(0);
// No process, thread or token handle (yet): null. Never the all-ones value, which as
// a process handle is the current-process pseudo-handle, so that a wait on a process
// that never started would wait on the launcher itself.
inline constexpr Handle kNoHandle = 0;

inline constexpr std::uint32_t kDetachedProcess = 0x00000008;
inline constexpr std::uint32_t kCreateNewProcessGroup = 0x00000200;
inline constexpr std::uint16_t kSwHide = 0;
inline constexpr std::uint16_t kSwShowNormal = 1;
inline constexpr std::uint16_t kSwShow = 5;

// WaitForSingleObject's results, and the exit code of a process that still runs.
inline constexpr std::uint32_t kWaitObject0 = 0x00000000;
inline constexpr std::uint32_t kWaitAbandoned = 0x00000080;
inline constexpr std::uint32_t kWaitTimeout = 0x00000102;
inline constexpr std::uint32_t kWaitFailed = 0xFFFFFFFF;
inline constexpr std::uint32_t kStillActive = 259;

struct ProcessStart {
  std::string_view application;        // application name
  std::string_view command_line;       // the command line handed to the program
  std::string_view current_directory;  // empty: the launcher's own
  std::uint32_t creation_flags = 0;
  std::uint16_t show_window = kSwShowNormal;  // with STARTF_USESHOWWINDOW
};

struct ProcessHandles {
  Handle process = kNoHandle;
  Handle thread = kNoHandle;
};

class Processes {
 public:
  virtual ~Processes() = default;

  // GetModuleFileNameA of the launcher's own module.
  virtual bool GetModuleFileName(std::string* path) = 0;

  // CreateProcessA with the launcher's environment and start-up information.
  virtual bool CreateProcess(const ProcessStart& start, ProcessHandles* handles) = 0;

  // WaitForSingleObject on a process: one of the kWait... results.
  virtual std::uint32_t WaitForSingleObject(Handle process, std::uint32_t milliseconds) = 0;

  // GetExitCodeProcess: the exit code, or kStillActive while the process runs.
  virtual bool GetExitCodeProcess(Handle process, std::uint32_t* exit_code) = 0;
};

}  // namespace platform
