// Whether the user behind the launcher is a local administrator.
#include "base/launcher.h"
#include "sysinfo/token_query.h"
#include "sysinfo/user_rights.h"

namespace {

constexpr std::uint32_t kFirstVersionWithElevation = 6;

}  // namespace

bool IsUserLocalAdmin(Launcher& l) {
  platform::Security& security = l.os.security;
  // Declared first so that it is closed last, after hToken.
  TokenHandle token_to_check(l, "hTokenToCheck");
  TokenHandle token(l, "hToken");
  if (!security.OpenProcessToken(platform::kTokenQuery | platform::kTokenDuplicate,
                                 token.receive()))
    RaiseTokenQueryFailure(l, "OpenProcessToken");

  // Under UAC an administrator's process has the filtered token; the full token of
  // the same logon tells what the user is.
  if (l.sys.VersionInfo.MajorVersion >= kFirstVersionWithElevation) {
    std::uint32_t type = 0;
    std::uint32_t returned = 0;
    if (!security.GetTokenInformation(token.get(), platform::TokenInformationClass::ElevationType,
                                      &type, sizeof type, &returned))
      RaiseTokenQueryFailure(l, "GetTokenInformation");
    if (type == platform::kTokenElevationTypeLimited &&
        !security.GetTokenInformation(token.get(), platform::TokenInformationClass::LinkedToken,
                                      token_to_check.receive(), sizeof(platform::Handle),
                                      &returned))
      RaiseTokenQueryFailure(l, "GetTokenInformation");
  }
  // The membership test takes an identification token, not the process's own.
  if (token_to_check.empty() &&
      !security.DuplicateToken(token.get(), platform::kSecurityIdentification,
                               token_to_check.receive()))
    RaiseTokenQueryFailure(l, "DuplicateToken");

  alignas(4) std::uint8_t administrators[platform::kMaxSidSize] = {};
  std::uint32_t size = sizeof administrators;
  if (!security.CreateWellKnownSid(platform::WellKnownSid::BuiltinAdministrators, administrators,
                                   &size))
    RaiseTokenQueryFailure(l, "CreateWellKnownSid");
  bool member = false;
  if (!security.CheckTokenMembership(token_to_check.get(), administrators, &member))
    RaiseTokenQueryFailure(l, "CheckTokenMembership");
  return member;
}
