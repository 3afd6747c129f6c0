// Simulated workstation: fault injection by operation name and call number.
#include "platform/sim/fault_injector.h"

namespace sim {

std::optional<platform::ErrorCode> FaultInjector::Call(std::string_view operation) {
  std::uint32_t number = ++calls_[std::string(operation)];
  auto found = rules_.find(operation);
  if (found == rules_.end()) return std::nullopt;
  for (const FaultRule& rule : found->second)
    if (rule.call == number) return rule.error;
  return std::nullopt;
}

const std::vector<std::string_view>& KnownOperations() {
  static const std::vector<std::string_view> names = {
      // files
      "AppendToFile", "DeleteFile", "SetCurrentDirectory", "GetPrivateProfileString",
      "GetFileVersionInfoSize", "GetFileVersionInfo", "VerQueryValue",
      // registry
      "RegOpenKeyEx", "RegCreateKeyEx", "RegSetValueEx", "RegGetValue", "RegCloseKey",
      // processes
      "GetModuleFileName", "CreateProcess",
      // user interface
      "MessageBox", "CreateDialogParam", "LoadString",
      // system
      "FormatMessage", "HeapAlloc", "HeapFree", "CloseHandle",
  };
  return names;
}

}  // namespace sim
