// The unrestricted security descriptor and what it is built from.
#include "access/security_descriptor_set.h"

#include "base/launcher.h"
#include "diag/error_strings.h"
#include "diag/log.h"

namespace {

constexpr std::uint32_t kFileAllAccess = 0x1F01FF;

void Fail(Launcher& l, FormatFor<const char*> format, std::uint32_t code) {
  ErrorDescription description;
  FormatErrorString(l, code, description);
  ErrorLog(l, format, description.c_str());
}

}  // namespace

bool CreateSecurityDescriptorSet(Launcher& l, SecurityDescriptorSet& set) {
  TraceScope trace(l, "CreateSecurityDescriptorSet");
  DebugLogText(l, "CreateSecurityDescriptor: Generating security descriptor...");
  platform::Security& security = l.os.security;
  const std::uint32_t world[] = {0};
  const std::uint32_t administrators[] = {32, 544};
  bool made = false;
  if (!security.AllocateAndInitializeSid(platform::SidAuthority::World, world, &set.EveryoneSid)) {
    Fail(l, "CreateSecurityDescriptor failed: Failed to initialize SID for \"Everyone\"; %s",
         l.os.system.GetLastError());
  } else if (!security.AllocateAndInitializeSid(platform::SidAuthority::Nt, administrators,
                                                &set.AdministratorsSid)) {
    Fail(l, "CreateSecurityDescriptor failed: Failed to initialize SID for \"Administrators\"; %s",
         l.os.system.GetLastError());
  } else {
    set.ExplicitAccess[0] = {kFileAllAccess, platform::AccessMode::Set,
                             platform::kSubContainersAndObjectsInherit, platform::TrusteeForm::Sid,
                             platform::TrusteeType::WellKnownGroup, set.EveryoneSid, nullptr};
    set.ExplicitAccess[1] = {kFileAllAccess, platform::AccessMode::Set,
                             platform::kSubContainersAndObjectsInherit, platform::TrusteeForm::Sid,
                             platform::TrusteeType::Group, set.AdministratorsSid, nullptr};
    if (const auto code = security.SetEntriesInAcl(set.ExplicitAccess, nullptr, &set.Acl)) {
      Fail(l, "CreateSecurityDescriptor failed: Failed to apply entries to security ACL; %s", code);
    } else {
      l.os.system.SetLastError(0);
      set.pSD = l.os.system.HeapAlloc(platform::kSecurityDescriptorMinLength);
      if (set.pSD == nullptr) {
        Fail(l, "CreateSecurityDescriptor failed: Failed to allocate security descriptor; %s",
             l.os.system.GetLastError());
      } else if (!security.InitializeSecurityDescriptor(set.pSD)) {
        Fail(l, "CreateSecurityDescriptor failed: Failed to initialize security descriptor; %s",
             l.os.system.GetLastError());
      } else if (!security.SetSecurityDescriptorDacl(set.pSD, set.Acl)) {
        Fail(l, "CreateSecurityDescriptor failed: Error while setting ACL security on descriptor; %s",
             l.os.system.GetLastError());
      } else if (!security.SetSecurityDescriptorOwner(set.pSD, set.AdministratorsSid)) {
        Fail(l, "CreateSecurityDescriptor failed: Error while setting Owner security on descriptor; %s",
             l.os.system.GetLastError());
      } else {
        made = true;
      }
    }
  }
  if (!made) ReleaseSecurityDescriptorSet(l, set);
  return made;
}

void ReleaseSecurityDescriptorSet(Launcher& l, SecurityDescriptorSet& set) {
  if (set.EveryoneSid) l.os.security.FreeSid(set.EveryoneSid);
  if (set.AdministratorsSid) l.os.security.FreeSid(set.AdministratorsSid);
  if (set.Acl) l.os.security.LocalFree(set.Acl);
  if (set.pSD) l.os.system.HeapFree(set.pSD);
  set.EveryoneSid = nullptr;
  set.AdministratorsSid = nullptr;
  set.Acl = nullptr;
  set.pSD = nullptr;
}
