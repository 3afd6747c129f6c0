// Full-access checks through Authz: every handle is built afresh and released before
// the check returns, on every path.
#include "access/rights_check.h"

#include "access/access_mask.h"
#include "access/security_descriptor_set.h"
#include "base/launcher.h"
#include "diag/error_strings.h"
#include "diag/log.h"
#include "platform/error_codes.h"
#include "sysinfo/system_info_loader.h"
#include "sysinfo/token_query.h"

namespace {

constexpr std::uint32_t kProcessTokenAccess = platform::kTokenDuplicate | platform::kTokenQuery;

// Frees an Authz resource manager or client context when it goes out of scope.
class AuthzResources {
 public:
  explicit AuthzResources(Launcher& l) : l_(l) {}
  ~AuthzResources() {
    if (context) l_.os.security.AuthzFreeContext(context);
    if (manager) l_.os.security.AuthzFreeResourceManager(manager);
  }
  AuthzResources(const AuthzResources&) = delete;
  AuthzResources& operator=(const AuthzResources&) = delete;
  platform::AuthzHandle manager = 0;
  platform::AuthzHandle context = 0;

 private:
  Launcher& l_;
};

// The rights checks describe their failures in 1,024 characters.
FixedString<1024> LastErrorText(Launcher& l) {
  FixedString<1024> description;
  FormatErrorString(l, l.os.system.GetLastError(), description);
  return description;
}

// The reply's result as a check result: the granted mask read when the check replied
// without error.
RightsCheckResult Verdict(Launcher& l, const char* routine, const char* principal,
                          std::uint32_t granted, std::uint32_t reply_error, RightsObject object) {
  FixedString<64> tag;
  if (reply_error == 0) {
    GrantedRights rights;
    ParseAccessMask(l, granted, rights, object);
    const bool full = rights.FullAccess();
    DebugLog(l, "%s: Full rights access check for %s on DACL result: %s.", routine, principal,
             full ? "True" : "False");
    return full ? RightsCheckResult::True : RightsCheckResult::False;
  }
  FormatErrorCode(reply_error, tag, ErrorCodeKind::Win32);
  if (reply_error == platform::kErrorAccessDenied) {
    if (std::string_view(principal) == "invoker")
      ErrorLog(l, "%s failed: Failed to perform access check for invoker on DACL; The access check call resulted in an ACCESS_DENIED error %s. THis usually indicates that the invoker does not have rights to access this location.",
               routine, tag.c_str());
    else
      ErrorLog(l, "%s failed: Failed to perform access check for \"Everyone\" on DACL; The access check call resulted in an ACCESS_DENIED error %s. This usually indicates that \"Everyone\" does not have rights to access this location.",
               routine, tag.c_str());
  } else {
    ErrorLog(l, "%s failed: Failed to perform access check for %s on DACL; The access check call resulted in an unexpected error %s.",
             routine, principal, tag.c_str());
  }
  return RightsCheckResult::Error;
}

RightsCheckResult CheckEveryoneRights(Launcher& l, const void* descriptor, const char* routine,
                                      RightsObject object) {
  platform::Security& security = l.os.security;
  DebugLogLevel(l, 100, "%s: Comparing to security descriptor at %p.", routine, descriptor);
  AuthzResources authz(l);
  if (!security.AuthzInitializeResourceManager(&authz.manager)) {
    ErrorLog(l, "%s failed: AuthzInitializeResourceManager failed; %s", routine,
             LastErrorText(l).c_str());
    return RightsCheckResult::Error;
  }
  ScopedSecurityDescriptorSet set(l);
  if (!set.Create()) {
    ErrorLog(l, "%s failed: Error while creating default security descriptor.", routine);
    return RightsCheckResult::Error;
  }
  if (!security.AuthzInitializeContextFromSid(authz.manager, set.get().EveryoneSid,
                                              &authz.context)) {
    ErrorLog(l, "%s failed: Failed to initialize Authz context from security descriptor set; %s",
             routine, LastErrorText(l).c_str());
    return RightsCheckResult::Error;
  }
  std::uint32_t granted = 0;
  std::uint32_t reply_error = 0;
  if (!security.AuthzAccessCheck(authz.context, descriptor, set.get().EveryoneSid, &granted,
                                 &reply_error)) {
    DebugLogLevel(l, 100, "%s: (After Error) pAccessReply->Error=%d. (May not be set)", routine,
                  static_cast<int>(reply_error));
    ErrorLog(l, "%s failed: Failed to perform access check for \"Everyone\" on DACL; %s", routine,
             LastErrorText(l).c_str());
    return RightsCheckResult::Error;
  }
  DebugLogLevel(l, 100, "%s: pAccessReply->Error=%d.", routine, static_cast<int>(reply_error));
  return Verdict(l, routine, "\"Everyone\"", granted, reply_error, object);
}

}  // namespace

RightsCheckResult CheckEveryoneRightsInRegistry(Launcher& l, const void* descriptor) {
  return CheckEveryoneRights(l, descriptor, "CheckEveryoneRightsInRegistry",
                             RightsObject::Registry);
}

RightsCheckResult CheckEveryoneRightsInFile(Launcher& l, const void* descriptor) {
  return CheckEveryoneRights(l, descriptor, "CheckEveryoneRightsInFile", RightsObject::FileSystem);
}

RightsCheckResult CheckInvokerRightsInFile(Launcher& l, const void* descriptor) {
  constexpr const char* kRoutine = "CheckInvokerRightsInFile";
  platform::Security& security = l.os.security;
  AuthzResources authz(l);
  if (!security.AuthzInitializeResourceManager(&authz.manager)) {
    ErrorLog(l, "%s failed: AuthzInitializeResourceManager failed; %s", kRoutine,
             LastErrorText(l).c_str());
    return RightsCheckResult::Error;
  }
  TokenHandle token(l);
  if (!security.OpenProcessToken(kProcessTokenAccess, token.receive())) {
    ErrorLog(l, "%s failed: Failed to obtain process security token; %s", kRoutine,
             LastErrorText(l).c_str());
    return RightsCheckResult::Error;
  }
  if (!l.sys.HasVersionInfo && !LoadSystemInfoObject(l)) {
    ErrorLogText(l, "CheckInvokerRightsInFile failed: Required SystemInfoObject was unable to load.");
    return RightsCheckResult::Error;
  }
  if (!security.AuthzInitializeContextFromToken(authz.manager, token.get(), &authz.context)) {
    ErrorLog(l, "%s failed: Failed to initialize Authz context from invoker token; %s", kRoutine,
             LastErrorText(l).c_str());
    return RightsCheckResult::Error;
  }
  std::uint32_t granted = 0;
  std::uint32_t reply_error = 0;
  if (!security.AuthzAccessCheck(authz.context, descriptor, nullptr, &granted, &reply_error)) {
    ErrorLog(l, "%s failed: Failed to perform access check for invoker on DACL; %s", kRoutine,
             LastErrorText(l).c_str());
    return RightsCheckResult::Error;
  }
  return Verdict(l, kRoutine, "invoker", granted, reply_error, RightsObject::FileSystem);
}
