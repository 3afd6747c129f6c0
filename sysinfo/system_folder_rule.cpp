// Where the 32-bit system files go.
#include "sysinfo/system_folder_rule.h"

#include "base/launcher.h"
#include "sysinfo/system_info_loader.h"

namespace {

constexpr std::uint16_t kArchitectureX86 = 0;

}  // namespace

bool Uses32BitSystemFolder(const SystemInfoObject& sys) {
  return sys.Is64BitProcess ||
         (sys.IsWow64 && sys.SystemInfo.ProcessorArchitecture == kArchitectureX86);
}

const PathBuffer& ThirtyTwoBitSystemDir(Launcher& l) {
  if (!l.sys.HardwareLoaded) LoadSystemInfoObject(l);
  return Uses32BitSystemFolder(l.sys) ? l.folders.SysWOW64Dir : l.folders.SysDir;
}
