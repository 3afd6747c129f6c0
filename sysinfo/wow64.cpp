// Whether the launcher's process runs under WOW64.
#include "sysinfo/wow64.h"

#include "diag/log.h"
#include "base/launcher.h"

bool IsWow64(Launcher& l) {
  switch (l.os.system_info.FindKernelFunction(platform::KernelFunction::IsWow64Process)) {
    case platform::FunctionLookup::NoModule:
      DebugLogDetailText(l,
                         "IsWow64: Failed to obtain handle for kernel32. This is an unusual error. "
                         "Assuming process is not WOW64 emulated.");
      return false;
    case platform::FunctionLookup::NoFunction:
      DebugLogDetailText(l,
                         "IsWow64: Process is not a 64-bit process. Also, OS does not support "
                         "64-bit processes.");
      return false;
    case platform::FunctionLookup::Found:
      break;
  }
  bool wow64 = false;
  if (!l.os.system_info.IsWow64Process(&wow64)) {
    DebugLogDetailText(l,
                       "IsWow64: Failed to call IsWow64Process(). Assuming process is not WOW64 "
                       "emulated.");
    return false;
  }
  return wow64;
}
