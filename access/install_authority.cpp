// The rights test shared by every step that installs into system locations.
#include "access/install_authority.h"

#include "access/elevation.h"
#include "base/launcher.h"
#include "sysinfo/system_info_loader.h"

bool HasInstallAuthority(Launcher& l) {
  if (!l.sys.UserLoaded) LoadSystemInfoObject(l);
  if (l.sys.AdminInvoked) return true;
  if (!l.sys.IsWin7OrGreater) return false;
  return l.sys.IsUACEnabled && !l.sys.IsProcessElevated && RequestElevatedRights(l);
}
