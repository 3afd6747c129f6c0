// The network drives of the machine.
#include "sysinfo/mapped_drives.h"

#include <string>

#include "diag/log.h"
#include "base/launcher.h"

void ListMappedDrives(Launcher& l) {
  DebugLogText(l, "Mapped Drive(s) Present:");
  LogNestingScope deeper(l);
  int listed = 0;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    FixedString<3> name;
    name.format_cut("%c:", letter);
    const std::uint32_t type = l.os.network.GetDriveType(name.view());
    if (type != platform::kDriveRemote && type != platform::kDriveNoRootDir) continue;
    std::string remote;
    const std::uint32_t result = l.os.network.WNetGetConnection(name.view(), &remote);
    if (result == 0) {
      DebugLog(l, "'%s' -> '%s'", name.c_str(), remote.c_str());
      ++listed;
    } else if (type == platform::kDriveRemote) {
      DebugLog(l, "'%s' -> Not Available", name.c_str());
      ++listed;
    } else if (result == platform::kErrorConnectionUnavail) {
      // A remembered connection that is not connected now.
      DebugLog(l, "'%s' -> Not Connected", name.c_str());
      ++listed;
    }
  }
  if (listed == 0) DebugLogText(l, "None.");
}
