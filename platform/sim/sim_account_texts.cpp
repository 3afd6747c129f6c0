// Simulated workstation: SIDs and descriptors turned into text, and the one account
// the machine knows by its SID.
#include <cstdint>

#include "platform/error_codes.h"
#include "platform/sim/security_blobs.h"
#include "platform/sim/sim_security.h"

namespace sim {

namespace {

constexpr platform::ErrorCode kErrorInvalidSid = 1337;
constexpr platform::ErrorCode kErrorInvalidSecurityDescr = 1338;

}  // namespace

bool SimSecurity::ConvertSidToStringSid(const void* sid, std::string* text) {
  if (s_.Fails("ConvertSidToStringSid")) return false;
  if (sid == nullptr || static_cast<const std::uint8_t*>(sid)[0] != 1) {
    s_.last_error = kErrorInvalidSid;
    return false;
  }
  *text = SidText(sid);
  return true;
}

bool SimSecurity::LookupAccountSid(const void* sid, std::string* name, std::string* domain) {
  if (s_.Fails("LookupAccountSid")) return false;
  std::string text;
  if (sid == nullptr || !ConvertSidToStringSid(sid, &text)) return false;
  if (text != SidText(SidBytesOfText(s_.machine.user.sid).data())) {
    s_.last_error = platform::kErrorNoneMapped;
    return false;
  }
  *name = s_.machine.user.name;
  *domain = s_.machine.user.domain;
  return true;
}

bool SimSecurity::ConvertSecurityDescriptorToSddl(const void* descriptor,
                                                  std::uint32_t information, std::string* sddl) {
  if (s_.Fails("ConvertSecurityDescriptorToSddl")) return false;
  auto parsed = descriptor != nullptr ? DescriptorOfBlock(descriptor) : std::nullopt;
  if (!parsed) {
    s_.last_error = kErrorInvalidSecurityDescr;
    return false;
  }
  if (!(information & platform::kOwnerSecurityInformation)) parsed->owner.clear();
  if (!(information & platform::kGroupSecurityInformation)) parsed->group.clear();
  if (!(information & platform::kDaclSecurityInformation)) {
    parsed->has_dacl = false;
    parsed->aces.clear();
  }
  *sddl = FormatSddl(*parsed);
  return true;
}

}  // namespace sim
