// What the launcher's process token says of itself: elevation, Administrators
// membership as it runs now, and its integrity level.
#include <cstring>

#include "base/launcher.h"
#include "platform/error_codes.h"
#include "sysinfo/token_query.h"
#include "sysinfo/user_rights.h"

namespace {

// A SID from AllocateAndInitializeSid, freed when it goes out of scope.
class AllocatedSid {
 public:
  explicit AllocatedSid(Launcher& l) : l_(l) {}
  ~AllocatedSid() {
    if (sid_ != nullptr) l_.os.security.FreeSid(sid_);
  }
  AllocatedSid(const AllocatedSid&) = delete;
  AllocatedSid& operator=(const AllocatedSid&) = delete;

  void* get() const { return sid_; }
  void** receive() { return &sid_; }

 private:
  Launcher& l_;
  void* sid_ = nullptr;
};

// A zeroed block from LocalAlloc, freed when it goes out of scope.
class LocalBlock {
 public:
  LocalBlock(Launcher& l, std::size_t size) : l_(l), block_(l.os.security.LocalAlloc(size)) {}
  ~LocalBlock() {
    if (block_ != nullptr) l_.os.security.LocalFree(block_);
  }
  LocalBlock(const LocalBlock&) = delete;
  LocalBlock& operator=(const LocalBlock&) = delete;

  void* get() const { return block_; }

 private:
  Launcher& l_;
  void* block_;
};

}  // namespace

bool IsProcessElevated(Launcher& l) {
  TokenHandle token(l);
  if (!l.os.security.OpenProcessToken(platform::kTokenQuery, token.receive()))
    RaiseTokenQueryFailure(l, "OpenProcessToken");
  std::uint32_t elevation = 0;
  std::uint32_t returned = 0;
  if (!l.os.security.GetTokenInformation(token.get(), platform::TokenInformationClass::Elevation,
                                         &elevation, sizeof elevation, &returned))
    RaiseTokenQueryFailure(l, "GetTokenInformation");
  return elevation != 0;
}

bool IsAdminInvoked(Launcher& l) {
  // S-1-5-32-544: the built-in Administrators group.
  constexpr std::uint32_t kAdministrators[] = {32, 544};
  AllocatedSid administrators(l);
  if (!l.os.security.AllocateAndInitializeSid(platform::SidAuthority::Nt, kAdministrators, administrators.receive()))
    RaiseTokenQueryFailure(l, "AllocateAndInitializeSid");
  bool member = false;
  if (!l.os.security.CheckTokenMembership(platform::kCurrentToken, administrators.get(), &member))
    RaiseTokenQueryFailure(l, "CheckTokenMembership");
  return member;
}

std::uint32_t ProcessIntegrityLevel(Launcher& l) {
  platform::Security& security = l.os.security;
  TokenHandle token(l);
  if (!security.OpenProcessToken(platform::kTokenQuery, token.receive()))
    RaiseTokenQueryFailure(l, "OpenProcessToken");
  // The first call only learns the size; it is expected to fail for want of room.
  std::uint32_t size = 0;
  if (!security.GetTokenInformation(token.get(), platform::TokenInformationClass::IntegrityLevel,
                                    nullptr, 0, &size) &&
      l.os.system.GetLastError() != platform::kErrorInsufficientBuffer)
    RaiseTokenQueryFailure(l, "GetTokenInformation");
  LocalBlock label(l, size);
  if (label.get() == nullptr) RaiseTokenQueryFailure(l, "LocalAlloc");
  if (!security.GetTokenInformation(token.get(), platform::TokenInformationClass::IntegrityLevel,
                                    label.get(), size, &size))
    RaiseTokenQueryFailure(l, "GetTokenInformation");
  platform::TokenMandatoryLabel mandatory;
  std::memcpy(&mandatory, label.get(), sizeof mandatory);
  return *security.GetSidSubAuthority(mandatory.sid, 0);
}
