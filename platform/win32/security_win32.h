// Windows side: the user behind the launcher and its process token.
#pragma once

#include "platform/security.h"
#include "platform/win32/windows_api.h"

namespace win32 {

class Win32Security final : public platform::Security {
 public:
  bool GetUserName(std::string* name) override;
  bool OpenProcessToken(std::uint32_t access, platform::Handle* token) override;
  bool GetTokenInformation(platform::Handle token, platform::TokenInformationClass information,
                           void* buffer, std::uint32_t size, std::uint32_t* returned) override;
  bool DuplicateToken(platform::Handle token, std::uint32_t level,
                      platform::Handle* duplicate) override;
  bool AllocateAndInitializeSid(platform::SidAuthority authority,
                                std::span<const std::uint32_t> sub_authorities,
                                void** sid) override;
  void FreeSid(void* sid) override;
  bool CreateWellKnownSid(platform::WellKnownSid kind, void* sid, std::uint32_t* size) override;
  bool CheckTokenMembership(platform::Handle token, const void* sid, bool* member) override;
  std::uint32_t* GetSidSubAuthority(void* sid, std::uint32_t index) override;
  void* LocalAlloc(std::size_t size) override;
  void LocalFree(void* block) override;

  bool AuthzInitializeResourceManager(platform::AuthzHandle* manager) override;
  bool AuthzInitializeContextFromSid(platform::AuthzHandle manager, const void* sid,
                                     platform::AuthzHandle* context) override;
  bool AuthzInitializeContextFromToken(platform::AuthzHandle manager, platform::Handle token,
                                       platform::AuthzHandle* context) override;
  bool AuthzAccessCheck(platform::AuthzHandle context, const void* descriptor,
                        const void* principal_self_sid, std::uint32_t* granted,
                        std::uint32_t* reply_error) override;
  void AuthzFreeContext(platform::AuthzHandle context) override;
  void AuthzFreeResourceManager(platform::AuthzHandle manager) override;
  bool GetFileSecurity(std::string_view path, std::uint32_t information, void* buffer,
                       std::uint32_t size, std::uint32_t* needed) override;
  bool IsValidSecurityDescriptor(const void* descriptor) override;
  bool ConvertSidToStringSid(const void* sid, std::string* text) override;
  bool LookupAccountSid(const void* sid, std::string* name, std::string* domain) override;
  bool ConvertSecurityDescriptorToSddl(const void* descriptor, std::uint32_t information,
                                       std::string* sddl) override;
  platform::ErrorCode GetFileSecurityInfo(platform::Handle file, std::uint32_t information,
                                          void** dacl, void** descriptor) override;
  platform::ErrorCode SetFileSecurityInfo(platform::Handle file, std::uint32_t information,
                                          const void* dacl) override;
  platform::ErrorCode SetEntriesInAcl(std::span<const platform::ExplicitAccess> entries,
                                      const void* old_acl, void** new_acl) override;
  bool InitializeSecurityDescriptor(void* descriptor) override;
  bool SetSecurityDescriptorDacl(void* descriptor, const void* acl) override;
  bool SetSecurityDescriptorOwner(void* descriptor, const void* sid) override;
  bool CreateDirectory(std::string_view path, const void* descriptor) override;
};

}  // namespace win32
