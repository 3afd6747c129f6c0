// The operating-system part of the system information object: the version tests,
// the edition, the release name and the display name.
#include "base/launcher.h"
#include "sysinfo/code_name.h"
#include "sysinfo/os_naming_table.h"
#include "sysinfo/system_info_parts.h"

namespace {

constexpr std::uint32_t kFirstVersionWithProductInfo = 6;

// VerifyVersionInfoA on (major, minor, service-pack major), greater or equal.
bool VersionOrGreater(Launcher& l, std::uint32_t major, std::uint32_t minor,
                      std::uint16_t service_pack_major) {
  platform::VersionCondition condition;
  condition.major = major;
  condition.minor = minor;
  condition.service_pack_major = service_pack_major;
  return l.os.system_info.VerifyVersionInfo(condition);
}

bool IsServerSystem(Launcher& l) {
  platform::VersionCondition condition;
  condition.test = platform::VersionCondition::Test::ProductTypeIs;
  condition.product_type = platform::kVerNtWorkstation;
  return !l.os.system_info.VerifyVersionInfo(condition);
}

// GetProductInfo, found at run time, from Windows Vista on; 0 when it is not there.
std::uint32_t ProductCode(Launcher& l) {
  const OsVersionInfo& v = l.sys.VersionInfo;
  if (v.MajorVersion < kFirstVersionWithProductInfo) return 0;
  if (l.os.system_info.FindKernelFunction(platform::KernelFunction::GetProductInfo) !=
      platform::FunctionLookup::Found)
    return 0;
  std::uint32_t code = 0;
  (void)l.os.system_info.GetProductInfo(v.MajorVersion, v.MinorVersion, v.ServicePackMajor,
                                        v.ServicePackMinor, &code);
  return code;
}

}  // namespace

bool NameOperatingSystem(Launcher& l) {
  SystemInfoObject& sys = l.sys;
  sys.HasCodeName = false;
  sys.HasEditionName = false;
  sys.IsSupportedOS = false;

  // Without a version record every test counts as failed, so that the name, the
  // verdict and the rights decisions that follow from them agree.
  const bool known = sys.HasVersionInfo;
  sys.IsWinXPSP3OrGreater = known && VersionOrGreater(l, 5, 1, 3);
  sys.IsWin7OrGreater = known && VersionOrGreater(l, 6, 1, 0);
  sys.IsWin7SP1OrGreater = known && VersionOrGreater(l, 6, 1, 1);
  sys.IsWin10OrGreater = known && VersionOrGreater(l, 10, 0, 0);
  sys.IsServer = known && IsServerSystem(l);

  sys.EditionName.clear();
  sys.ProductCode = ProductCode(l);
  EditionNameFor(sys.ProductCode, sys.EditionName);
  sys.HasEditionName = !sys.EditionName.empty();

  const OsVersionInfo& v = sys.VersionInfo;
  if (IsWindows8OrLater(v.MajorVersion, v.MinorVersion) && sys.IsWin10OrGreater) {
    CodeNameText code_name;
    if (ReadCodeName(l, code_name)) {
      sys.CodeName = code_name;
      sys.HasCodeName = true;
    }
  }

  OsNamingFacts facts;
  facts.major = v.MajorVersion;
  facts.minor = v.MinorVersion;
  facts.build = v.BuildNumber;
  facts.platform_id = v.PlatformId;
  facts.product_type = v.ProductType;
  facts.xp_sp3_or_greater = sys.IsWinXPSP3OrGreater;
  facts.win7_sp1_or_greater = sys.IsWin7SP1OrGreater;
  facts.win10_or_greater = sys.IsWin10OrGreater;
  facts.server = sys.IsServer;
  facts.edition = sys.HasEditionName ? sys.EditionName.view() : std::string_view();
  facts.code_name = sys.HasCodeName ? sys.CodeName.view() : std::string_view();
  const OsNameChoice choice = ChooseOsName(facts);
  sys.OSName = choice.name;
  sys.IsSupportedOS = choice.supported;
  sys.IsLoaded = true;
  return choice.windows7;
}
