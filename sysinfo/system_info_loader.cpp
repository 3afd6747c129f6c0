// Loading the system information object: each of its five parts at most once per
// run, in a fixed order, whichever routine asks first.
#include "sysinfo/system_info_loader.h"

#include "diag/log.h"
#include "base/launcher.h"
#include "sysinfo/network_address.h"
#include "sysinfo/system_info_parts.h"

namespace {

// The version part, retried by every call until it succeeds: true when the version
// was read in this call.
bool LoadVersionPart(Launcher& l) {
  if (l.sys.HasVersionInfo) return false;
  platform::OsVersionRecord record;
  if (!l.os.system_info.GetVersionEx(&record)) {
    ErrorLogText(l, "Unable to retrieve OS version data using GetVersionEx().");
    return false;
  }
  OsVersionInfo& v = l.sys.VersionInfo;
  v.MajorVersion = record.major_version;
  v.MinorVersion = record.minor_version;
  v.BuildNumber = record.build_number;
  v.PlatformId = record.platform_id;
  v.CSDVersion.assign_cut(record.csd_version);
  v.ServicePackMajor = record.service_pack_major;
  v.ServicePackMinor = record.service_pack_minor;
  v.SuiteMask = record.suite_mask;
  v.ProductType = record.product_type;
  l.sys.HasVersionInfo = true;
  return true;
}

}  // namespace

bool LoadSystemInfoObject(Launcher& l) {
  TraceScope trace(l, "LoadSystemInfoObject");
  const bool version_read_now = LoadVersionPart(l);

  if (!l.sys.IsLoaded) {
    const bool windows7_mark = NameOperatingSystem(l);
    WriteDetectionRecords(l, windows7_mark);
  } else if (version_read_now) {
    // The name stays as it was given without a version; its records are written again
    // with the version now known, without the Windows 7 statement.
    WriteDetectionRecords(l, false);
  }

  if (!l.sys.HardwareLoaded) LoadHardwarePart(l);

  if (!l.sys.NetworkLoaded) {
    GetNetworkAddress(l, l.sys.IPAddress);
    l.sys.NetworkLoaded = true;
  }

  if (!l.sys.UserLoaded) LoadUserPart(l);
  return true;
}

bool IsLoadedWin7OrGreater(Launcher& l) {
  if (!l.sys.IsLoaded) LoadSystemInfoObject(l);
  return l.sys.IsLoaded && l.sys.IsWin7OrGreater;
}
