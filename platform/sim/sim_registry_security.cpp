// Simulated workstation: reflection, descriptors and control flags of open keys.
// A changed descriptor becomes the key's own line in security.txt.
#include <cstdlib>

#include "platform/error_codes.h"
#include "platform/security.h"
#include "platform/sim/security_blobs.h"
#include "platform/sim/sim_registry.h"

namespace sim {
namespace {

using platform::ErrorCode;

using platform::kErrorInvalidHandle;
constexpr ErrorCode kErrorCallNotImplemented = 120;
using platform::kErrorInvalidAcl;
constexpr std::uint32_t kReadControl = 0x00020000;
constexpr std::uint32_t kWriteDac = 0x00040000;

std::string ParentKey(const std::string& name) {
  const std::size_t slash = name.rfind('\\');
  return slash == std::string::npos ? name : name.substr(0, slash);
}

}  // namespace

const SimRegistry::OpenKey* SimRegistry::Opened(platform::RegKey key) const {
  auto found = open_.find(key);
  return found == open_.end() ? nullptr : &found->second;
}

ErrorCode SimRegistry::ReflectionAvailable(platform::RegKey key) const {
  if (!s_.MachineIs64Bit()) return kErrorCallNotImplemented;
  return Opened(key) ? platform::kErrorSuccess : kErrorInvalidHandle;
}

ErrorCode SimRegistry::RegQueryReflectionKey(platform::RegKey key, bool* disabled) {
  ErrorCode error = 0;
  if (s_.Fails("RegQueryReflectionKey", &error)) return error;
  if (ErrorCode refused = ReflectionAvailable(key)) return refused;
  // Windows 7 reflects no key any more.
  const bool reflecting_system = s_.machine.os.major == 6 && s_.machine.os.minor == 0;
  *disabled = !reflecting_system || reflection_disabled_.count(Opened(key)->path) > 0;
  return platform::kErrorSuccess;
}

ErrorCode SimRegistry::RegDisableReflectionKey(platform::RegKey key) {
  ErrorCode error = 0;
  if (s_.Fails("RegDisableReflectionKey", &error)) return error;
  if (ErrorCode refused = ReflectionAvailable(key)) return refused;
  reflection_disabled_.insert(Opened(key)->path);
  return platform::kErrorSuccess;
}

ErrorCode SimRegistry::RegEnableReflectionKey(platform::RegKey key) {
  ErrorCode error = 0;
  if (s_.Fails("RegEnableReflectionKey", &error)) return error;
  if (ErrorCode refused = ReflectionAvailable(key)) return refused;
  reflection_disabled_.erase(Opened(key)->path);
  return platform::kErrorSuccess;
}

ErrorCode SimRegistry::GetKeySecurityInfo(platform::RegKey key, std::uint32_t information,
                                          void** dacl, void** descriptor) {
  ErrorCode error = 0;
  if (s_.Fails("GetSecurityInfo", &error)) return error;
  const OpenKey* open = Opened(key);
  if (!open) return kErrorInvalidHandle;
  if (!(MapGenericRights(open->granted, ObjectKind::Key) & kReadControl))
    return platform::kErrorAccessDenied;
  const std::string name = SecurityName(open->path);
  Descriptor found = MaterializedDescriptor(
      s_.security, name, ObjectKind::Key,
      DefaultRootDescriptor(name.substr(0, name.find('\\')), s_.machine.user.sid));
  void* block = NewDescriptorBlock(std::move(found), information, dacl);
  if (block == nullptr) return platform::kErrorNotEnoughMemory;
  *descriptor = block;
  return platform::kErrorSuccess;
}

ErrorCode SimRegistry::SetKeySecurityInfo(platform::RegKey key, std::uint32_t,
                                          const void* dacl) {
  ErrorCode error = 0;
  if (s_.Fails("SetSecurityInfo", &error)) return error;
  const OpenKey* open = Opened(key);
  if (!open) return kErrorInvalidHandle;
  if (!(MapGenericRights(open->granted, ObjectKind::Key) & kWriteDac))
    return platform::kErrorAccessDenied;
  auto aces = AclOfBlock(dacl);
  if (!aces) return kErrorInvalidAcl;
  const std::string name = SecurityName(open->path);
  const std::string root = name.substr(0, name.find('\\'));
  const std::string fallback = DefaultRootDescriptor(root, s_.machine.user.sid);
  Descriptor updated = MaterializedDescriptor(s_.security, name, ObjectKind::Key, fallback);
  updated.has_dacl = true;
  updated.aces.clear();
  for (const Ace& ace : *aces)
    if (!(ace.flags & kAceInherited)) updated.aces.push_back(ace);
  if (ParentKey(name) != name) {
    const Descriptor parent =
        MaterializedDescriptor(s_.security, ParentKey(name), ObjectKind::Key, fallback);
    for (const Ace& ace : InheritedEntries(parent, ObjectKind::Key)) updated.aces.push_back(ace);
  }
  s_.security.Set(name, FormatSddl(updated));
  return platform::kErrorSuccess;
}

platform::Registry::NtCall SimRegistry::NtSetKeyControlFlags(platform::RegKey key, std::uint32_t,
                                                             std::uint32_t* status) {
  // ntdll's module and its export are looked up first.
  if (s_.Fails("GetModuleHandle")) return NtCall::NoModule;
  if (s_.Fails("GetProcAddress")) return NtCall::NoFunction;
  ErrorCode injected = 0;
  if (s_.Fails("NtSetInformationKey", &injected)) {
    *status = injected;
    return NtCall::Called;
  }
  constexpr std::uint32_t kStatusInvalidHandle = 0xC0000008;
  *status = Opened(key) ? 0 : kStatusInvalidHandle;
  return NtCall::Called;
}

}  // namespace sim
