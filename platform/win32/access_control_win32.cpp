// Windows side: Authz access checks, the descriptors of files and folders, and
// access lists.
#include "platform/win32/security_win32.h"

#include <string>
#include <vector>

namespace win32 {
namespace {

static_assert(sizeof(platform::AuthzHandle) == sizeof(AUTHZ_CLIENT_CONTEXT_HANDLE));
static_assert(platform::kSecurityDescriptorMinLength == SECURITY_DESCRIPTOR_MIN_LENGTH);

// A NUL-terminated copy of a path; longer than MAX_PATH is refused by the callee.
std::string Terminated(std::string_view text) { return std::string(text); }

}  // namespace

bool Win32Security::AuthzInitializeResourceManager(platform::AuthzHandle* manager) {
  AUTHZ_RESOURCE_MANAGER_HANDLE handle = nullptr;
  if (!::AuthzInitializeResourceManager(AUTHZ_RM_FLAG_NO_AUDIT, nullptr, nullptr, nullptr,
                                        nullptr, &handle))
    return false;
  *manager = reinterpret_cast<platform::AuthzHandle>(handle);
  return true;
}

bool Win32Security::AuthzInitializeContextFromSid(platform::AuthzHandle manager, const void* sid,
                                                  platform::AuthzHandle* context) {
  LUID identifier = {0, 0};
  AUTHZ_CLIENT_CONTEXT_HANDLE handle = nullptr;
  if (!::AuthzInitializeContextFromSid(0, const_cast<PSID>(sid),
                                       reinterpret_cast<AUTHZ_RESOURCE_MANAGER_HANDLE>(manager),
                                       nullptr, identifier, nullptr, &handle))
    return false;
  *context = reinterpret_cast<platform::AuthzHandle>(handle);
  return true;
}

bool Win32Security::AuthzInitializeContextFromToken(platform::AuthzHandle manager,
                                                    platform::Handle token,
                                                    platform::AuthzHandle* context) {
  LUID identifier = {0, 0};
  AUTHZ_CLIENT_CONTEXT_HANDLE handle = nullptr;
  if (!::AuthzInitializeContextFromToken(0, reinterpret_cast<HANDLE>(token), reinterpret_cast<AUTHZ_RESOURCE_MANAGER_HANDLE>(manager),
                                         nullptr, identifier, nullptr, &handle))
    return false;
  *context = reinterpret_cast<platform::AuthzHandle>(handle);
  return true;
}

bool Win32Security::AuthzAccessCheck(platform::AuthzHandle context, const void* descriptor,
                                     const void* principal_self_sid, std::uint32_t* granted,
                                     std::uint32_t* reply_error) {
  AUTHZ_ACCESS_REQUEST request = {};
  request.DesiredAccess = MAXIMUM_ALLOWED;
  request.PrincipalSelfSid = const_cast<PSID>(principal_self_sid);
  ACCESS_MASK mask = 0;
  DWORD error = 0;
  AUTHZ_ACCESS_REPLY reply = {};
  reply.ResultListLength = 1;
  reply.GrantedAccessMask = &mask;
  reply.Error = &error;
  const BOOL checked = ::AuthzAccessCheck(
      0, reinterpret_cast<AUTHZ_CLIENT_CONTEXT_HANDLE>(context), &request, nullptr,
      const_cast<PSECURITY_DESCRIPTOR>(descriptor), nullptr, 0, &reply, nullptr);
  *granted = mask;
  *reply_error = error;
  return checked != FALSE;
}

void Win32Security::AuthzFreeContext(platform::AuthzHandle context) {
  ::AuthzFreeContext(reinterpret_cast<AUTHZ_CLIENT_CONTEXT_HANDLE>(context));
}

void Win32Security::AuthzFreeResourceManager(platform::AuthzHandle manager) {
  ::AuthzFreeResourceManager(reinterpret_cast<AUTHZ_RESOURCE_MANAGER_HANDLE>(manager));
}

bool Win32Security::GetFileSecurity(std::string_view path, std::uint32_t information,
                                    void* buffer, std::uint32_t size, std::uint32_t* needed) {
  DWORD length = 0;
  const BOOL read = ::GetFileSecurityA(Terminated(path).c_str(), information, buffer, size, &length);
  *needed = length;
  return read != FALSE;
}

bool Win32Security::IsValidSecurityDescriptor(const void* descriptor) {
  return ::IsValidSecurityDescriptor(const_cast<PSECURITY_DESCRIPTOR>(descriptor)) != FALSE;
}

platform::ErrorCode Win32Security::GetFileSecurityInfo(platform::Handle file,
                                                       std::uint32_t information, void** dacl,
                                                       void** descriptor) {
  PACL list = nullptr;
  PSECURITY_DESCRIPTOR found = nullptr;
  const DWORD result = ::GetSecurityInfo(reinterpret_cast<HANDLE>(file), SE_FILE_OBJECT, information,
                                         nullptr, nullptr, &list, nullptr, &found);
  if (result == ERROR_SUCCESS) {
    *dacl = list;
    *descriptor = found;
  }
  return result;
}

platform::ErrorCode Win32Security::SetFileSecurityInfo(platform::Handle file,
                                                       std::uint32_t information,
                                                       const void* dacl) {
  return ::SetSecurityInfo(reinterpret_cast<HANDLE>(file), SE_FILE_OBJECT, information, nullptr,
                           nullptr, static_cast<PACL>(const_cast<void*>(dacl)), nullptr);
}

platform::ErrorCode Win32Security::SetEntriesInAcl(std::span<const platform::ExplicitAccess> entries,
                                                   const void* old_acl, void** new_acl) {
  std::vector<EXPLICIT_ACCESS_A> access(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const auto& entry = entries[i];
    access[i].grfAccessPermissions = entry.permissions;
    access[i].grfAccessMode = static_cast<ACCESS_MODE>(entry.mode);
    access[i].grfInheritance = entry.inheritance;
    access[i].Trustee.pMultipleTrustee = nullptr;
    access[i].Trustee.MultipleTrusteeOperation = NO_MULTIPLE_TRUSTEE;
    access[i].Trustee.TrusteeForm = static_cast<TRUSTEE_FORM>(entry.form);
    access[i].Trustee.TrusteeType = static_cast<TRUSTEE_TYPE>(entry.type);
    access[i].Trustee.ptstrName = entry.form == platform::TrusteeForm::Sid
                                      ? static_cast<LPSTR>(const_cast<void*>(entry.sid))
                                      : const_cast<LPSTR>(entry.name);
  }
  PACL merged = nullptr;
  const DWORD result =
      ::SetEntriesInAclA(static_cast<ULONG>(access.size()), access.data(),
                         static_cast<PACL>(const_cast<void*>(old_acl)), &merged);
  if (result == ERROR_SUCCESS) *new_acl = merged;
  return result;
}

bool Win32Security::InitializeSecurityDescriptor(void* descriptor) {
  return ::InitializeSecurityDescriptor(descriptor, SECURITY_DESCRIPTOR_REVISION) != FALSE;
}

bool Win32Security::SetSecurityDescriptorDacl(void* descriptor, const void* acl) {
  return ::SetSecurityDescriptorDacl(descriptor, TRUE, static_cast<PACL>(const_cast<void*>(acl)),
                                     FALSE) != FALSE;
}

bool Win32Security::SetSecurityDescriptorOwner(void* descriptor, const void* sid) {
  return ::SetSecurityDescriptorOwner(descriptor, const_cast<PSID>(sid), FALSE) != FALSE;
}

bool Win32Security::CreateDirectory(std::string_view path, const void* descriptor) {
  SECURITY_ATTRIBUTES attributes = {};
  attributes.nLength = sizeof attributes;
  attributes.lpSecurityDescriptor = const_cast<void*>(descriptor);
  attributes.bInheritHandle = FALSE;
  return ::CreateDirectoryA(Terminated(path).c_str(), &attributes) != FALSE;
}

}  // namespace win32
