// Simulated workstation: access decisions from security descriptors.
#include "platform/sim/access_check.h"

#include "platform/sim/text_util.h"

namespace sim {
namespace {

constexpr std::uint32_t kFileAllAccess = 0x001F01FF;
constexpr std::uint32_t kKeyAllAccess = 0x000F003F;
constexpr std::uint32_t kOwnerImplicit = 0x00060000;  // READ_CONTROL | WRITE_DAC

bool Holds(const AccessToken& token, const std::string& sid) {
  for (const auto& held : token.sids)
    if (EqualsIgnoreCase(held, sid)) return true;
  return false;
}

// Whether an entry of a descriptor `depth` levels up reaches the object.
bool Applies(const Ace& ace, InheritDepth depth, ObjectKind kind) {
  if (depth == 0) return !(ace.flags & kAceInheritOnly);
  if (depth > 1 && (ace.flags & kAceNoPropagate)) return false;
  return ace.flags & (kind == ObjectKind::File ? kAceObjectInherit : kAceContainerInherit);
}

}  // namespace

std::uint32_t MapGenericRights(std::uint32_t mask, ObjectKind kind) {
  const bool key = kind == ObjectKind::Key;
  std::uint32_t mapped = mask & 0x0FFFFFFF;
  if (mask & 0x10000000) mapped |= key ? kKeyAllAccess : kFileAllAccess;
  if (mask & 0x80000000) mapped |= key ? 0x00020019 : 0x00120089;
  if (mask & 0x40000000) mapped |= key ? 0x00020006 : 0x00120116;
  if (mask & 0x20000000) mapped |= key ? 0x00020019 : 0x001200A0;
  mapped &= ~0x03000000u;                 // MAXIMUM_ALLOWED, ACCESS_SYSTEM_SECURITY
  return key ? mapped & ~0x00000300u : mapped;  // a key's view flags are no rights
}

std::uint32_t GrantedAccess(const Descriptor& descriptor, InheritDepth depth, ObjectKind kind,
                            const AccessToken& token) {
  const std::uint32_t all = kind == ObjectKind::Key ? kKeyAllAccess : kFileAllAccess;
  if (!descriptor.has_dacl) return all;
  std::uint32_t granted = 0;
  std::uint32_t denied = 0;
  if (depth == 0 && !descriptor.owner.empty() && Holds(token, descriptor.owner)) granted |= kOwnerImplicit;
  for (const Ace& ace : descriptor.aces) {
    if (!Applies(ace, depth, kind) || !Holds(token, ace.sid)) continue;
    const std::uint32_t mask = MapGenericRights(ace.mask, kind);
    if (ace.allow) granted |= mask & ~denied;
    else denied |= mask & ~granted;
  }
  return granted & all;
}

bool AccessAllowed(std::string_view sddl, InheritDepth depth, ObjectKind kind, const AccessToken& token,
                   std::uint32_t desired_access) {
  std::string error;
  auto descriptor = ParseSddl(sddl, &error);
  if (!descriptor) return false;
  const std::uint32_t wanted = MapGenericRights(desired_access, kind);
  return (wanted & ~GrantedAccess(*descriptor, depth, kind, token)) == 0;
}

}  // namespace sim
