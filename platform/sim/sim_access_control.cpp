// Simulated workstation: Authz access checks, the descriptors of files and folders,
// and access lists, decided from security.txt. A changed descriptor becomes the
// object's own line, so the next run sees it.
#include <cstdlib>
#include <cstring>

#include "platform/error_codes.h"
#include "platform/files.h"
#include "platform/sim/sim_security.h"
#include "platform/sim/text_util.h"

namespace sim {
namespace {

using platform::ErrorCode;

using platform::kErrorInvalidHandle;
constexpr ErrorCode kErrorInvalidSecurityDescriptor = 1338;
using platform::kErrorInvalidAcl;
constexpr ErrorCode kErrorNoneMapped = 1332;
constexpr std::uint32_t kReadControl = 0x00020000;
constexpr std::uint32_t kWriteDac = 0x00040000;

// The SID a trustee names, or nothing when the name does not resolve.
std::optional<std::string> TrusteeSid(const platform::ExplicitAccess& entry) {
  if (entry.form == platform::TrusteeForm::Sid)
    return entry.sid ? std::optional<std::string>(SidText(entry.sid)) : std::nullopt;
  if (entry.name == nullptr) return std::nullopt;
  const std::string_view name = entry.name;
  if (EqualsIgnoreCase(name, "Everyone")) return "S-1-1-0";
  if (EqualsIgnoreCase(name, "Administrators") || EqualsIgnoreCase(name, "BUILTIN\\Administrators"))
    return "S-1-5-32-544";
  if (EqualsIgnoreCase(name, "Users") || EqualsIgnoreCase(name, "BUILTIN\\Users"))
    return "S-1-5-32-545";
  return std::nullopt;
}

}  // namespace

bool SimSecurity::AuthzInitializeResourceManager(platform::AuthzHandle* manager) {
  if (s_.Fails("AuthzInitializeResourceManager")) return false;
  *manager = next_authz_;
  next_authz_ += 4;
  return true;
}

bool SimSecurity::AuthzInitializeContextFromSid(platform::AuthzHandle, const void* sid,
                                                platform::AuthzHandle* context) {
  if (s_.Fails("AuthzInitializeContextFromSid")) return false;
  if (sid == nullptr) {
    s_.last_error = platform::kErrorInvalidParameter;
    return false;
  }
  *context = next_authz_;
  next_authz_ += 4;
  // The well-known groups every logon holds come with a SID's context.
  AccessToken token;
  token.sids = {SidText(sid), "S-1-1-0"};
  contexts_[*context] = std::move(token);
  return true;
}

bool SimSecurity::AuthzInitializeContextFromToken(platform::AuthzHandle, platform::Handle handle,
                                                  platform::AuthzHandle* context) {
  if (s_.Fails("AuthzInitializeContextFromToken")) return false;
  const Token* token = Find(handle);
  if (!token) return false;
  *context = next_authz_;
  next_authz_ += 4;
  contexts_[*context] = AccessToken{token->sids};
  return true;
}

bool SimSecurity::AuthzAccessCheck(platform::AuthzHandle context, const void* descriptor,
                                   const void*, std::uint32_t* granted,
                                   std::uint32_t* reply_error) {
  *reply_error = 0;
  *granted = 0;
  if (s_.Fails("AuthzAccessCheck")) return false;
  auto found = contexts_.find(context);
  if (found == contexts_.end()) {
    s_.last_error = kErrorInvalidHandle;
    return false;
  }
  auto parsed = DescriptorOfBlock(descriptor);
  if (!parsed) {
    s_.last_error = kErrorInvalidSecurityDescriptor;
    return false;
  }
  // Authz knows no object type: generic rights map as for files, whose rights hold
  // every right of a key.
  *granted = GrantedAccess(*parsed, 0, ObjectKind::Folder, found->second);
  if (*granted == 0) *reply_error = platform::kErrorAccessDenied;
  return true;
}

void SimSecurity::AuthzFreeContext(platform::AuthzHandle context) { contexts_.erase(context); }

void SimSecurity::AuthzFreeResourceManager(platform::AuthzHandle) {}

Descriptor SimSecurity::FileDescriptor(const FileObject& object) const {
  return MaterializedDescriptor(s_.security, object.name, object.kind, kEveryoneFullAccess);
}

std::optional<FileObject> SimSecurity::HandleObject(platform::Handle file, std::uint32_t right) {
  const OpenFile* open = s_.open_files.Find(file);
  if (open == nullptr) {
    s_.last_error = kErrorInvalidHandle;
    return std::nullopt;
  }
  if (!(open->rights & right)) {
    s_.last_error = platform::kErrorAccessDenied;
    return std::nullopt;
  }
  return FileObject{open->object, open->folder ? ObjectKind::Folder : ObjectKind::File};
}

bool SimSecurity::GetFileSecurity(std::string_view path, std::uint32_t information, void* buffer,
                                  std::uint32_t size, std::uint32_t* needed) {
  if (s_.Fails("GetFileSecurity")) return false;
  auto object = FindFileObject(s_, path);
  if (!object) return false;
  if (!(TokenRights(s_, *object) & kReadControl)) {
    s_.last_error = platform::kErrorAccessDenied;
    return false;
  }
  Descriptor descriptor = FileDescriptor(*object);
  if (!(information & platform::kOwnerSecurityInformation)) descriptor.owner.clear();
  if (!(information & platform::kGroupSecurityInformation)) descriptor.group.clear();
  *needed = static_cast<std::uint32_t>(DescriptorBlockSize(descriptor));
  if (buffer == nullptr || size < *needed) {
    s_.last_error = platform::kErrorInsufficientBuffer;
    return false;
  }
  WriteDescriptorBlock(descriptor, buffer);
  return true;
}

bool SimSecurity::IsValidSecurityDescriptor(const void* descriptor) {
  return DescriptorOfBlock(descriptor).has_value();
}

ErrorCode SimSecurity::GetFileSecurityInfo(platform::Handle file, std::uint32_t information,
                                           void** dacl, void** descriptor) {
  ErrorCode error = 0;
  if (s_.Fails("GetSecurityInfo", &error)) return error;
  auto object = HandleObject(file, kReadControl);
  if (!object) return s_.last_error;
  void* block = NewDescriptorBlock(FileDescriptor(*object), information, dacl);
  if (block == nullptr) return platform::kErrorNotEnoughMemory;
  *descriptor = block;
  return platform::kErrorSuccess;
}

ErrorCode SimSecurity::SetFileSecurityInfo(platform::Handle file, std::uint32_t,
                                           const void* dacl) {
  ErrorCode error = 0;
  if (s_.Fails("SetSecurityInfo", &error)) return error;
  auto object = HandleObject(file, kWriteDac);
  if (!object) return s_.last_error;
  auto aces = AclOfBlock(dacl);
  if (!aces) return kErrorInvalidAcl;
  // The explicit entries as given; the inherited ones again from the parent.
  Descriptor updated;
  updated.owner = FileDescriptor(*object).owner;
  updated.has_dacl = true;
  for (const Ace& ace : *aces)
    if (!(ace.flags & kAceInherited)) updated.aces.push_back(ace);
  const FileObject parent = ParentFolder(object->name);
  if (parent.name != object->name)
    for (const Ace& ace : InheritedEntries(FileDescriptor(parent), object->kind))
      updated.aces.push_back(ace);
  s_.security.Set(object->name, FormatSddl(updated));
  return platform::kErrorSuccess;
}

ErrorCode SimSecurity::SetEntriesInAcl(std::span<const platform::ExplicitAccess> entries,
                                       const void* old_acl, void** new_acl) {
  ErrorCode error = 0;
  if (s_.Fails("SetEntriesInAcl", &error)) return error;
  std::vector<Ace> old;
  if (old_acl != nullptr) {
    auto parsed = AclOfBlock(old_acl);
    if (!parsed) return kErrorInvalidAcl;
    old = std::move(*parsed);
  }
  std::vector<Ace> added;
  for (const auto& entry : entries) {
    auto sid = TrusteeSid(entry);
    if (!sid) return kErrorNoneMapped;
    added.push_back(Ace{true, entry.inheritance & (kAceObjectInherit | kAceContainerInherit),
                        entry.permissions, *sid});
  }
  // Setting a trustee's access drops its explicit entries; the list stays in the
  // canonical order: explicit denials, explicit grants, inherited entries.
  auto replaced = [&](const Ace& ace) {
    if (ace.flags & kAceInherited) return false;
    for (const Ace& a : added)
      if (EqualsIgnoreCase(a.sid, ace.sid)) return true;
    return false;
  };
  std::vector<Ace> merged;
  for (const Ace& ace : old)
    if (!ace.allow && !(ace.flags & kAceInherited) && !replaced(ace)) merged.push_back(ace);
  for (const Ace& ace : old)
    if (ace.allow && !(ace.flags & kAceInherited) && !replaced(ace)) merged.push_back(ace);
  merged.insert(merged.end(), added.begin(), added.end());
  for (const Ace& ace : old)
    if (ace.flags & kAceInherited) merged.push_back(ace);
  if (merged.size() > kMaxAces) return kErrorInvalidAcl;
  *new_acl = NewAclBlock(merged);
  return *new_acl ? platform::kErrorSuccess : platform::kErrorNotEnoughMemory;
}

bool SimSecurity::InitializeSecurityDescriptor(void* descriptor) {
  if (s_.Fails("InitializeSecurityDescriptor")) return false;
  InitializeAbsoluteDescriptor(descriptor);
  return true;
}

bool SimSecurity::SetSecurityDescriptorDacl(void* descriptor, const void* acl) {
  if (s_.Fails("SetSecurityDescriptorDacl")) return false;
  if (SetAbsoluteDacl(descriptor, acl)) return true;
  s_.last_error = kErrorInvalidSecurityDescriptor;
  return false;
}

bool SimSecurity::SetSecurityDescriptorOwner(void* descriptor, const void* sid) {
  if (s_.Fails("SetSecurityDescriptorOwner")) return false;
  if (SetAbsoluteOwner(descriptor, sid)) return true;
  s_.last_error = kErrorInvalidSecurityDescriptor;
  return false;
}

bool SimSecurity::CreateDirectory(std::string_view path, const void* descriptor) {
  if (s_.Fails("CreateDirectory", nullptr, path)) return false;
  auto given = DescriptorOfBlock(descriptor);
  if (!given) {
    s_.last_error = kErrorInvalidSecurityDescriptor;
    return false;
  }
  auto name = MakeFolder(s_, path);
  if (!name) return false;
  for (const Ace& ace : InheritedEntries(FileDescriptor(ParentFolder(*name)), ObjectKind::Folder))
    given->aces.push_back(ace);
  if (!given->has_dacl) given->aces.clear();
  s_.security.Set(*name, FormatSddl(*given));
  return true;
}

}  // namespace sim
