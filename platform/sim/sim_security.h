// Simulated workstation: the user of [user] and the launcher's process token.
//
// The process token holds the user's SID, Everyone, Users, Authenticated Users,
// Interactive and, with token_admin, Administrators. An administrator whose token
// is not an administrator's (administrators_member without token_admin) has the
// filtered token of UAC, linked to a full, elevated one of high integrity.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/security.h"
#include "platform/sim/file_objects.h"
#include "platform/sim/security_blobs.h"
#include "platform/sim/sim_state.h"

namespace sim {

class SimSecurity : public platform::Security {
 public:
  // The operations a machine's [fail] section may name. FreeSid, GetSidSubAuthority
  // and LocalFree cannot fail.
  static constexpr std::string_view kOperations[] = {
      "GetUserName",
      "OpenProcessToken",
      "GetTokenInformation",
      "DuplicateToken",
      "AllocateAndInitializeSid",
      "CreateWellKnownSid",
      "CheckTokenMembership",
      "LocalAlloc",
      "AuthzInitializeResourceManager",
      "AuthzInitializeContextFromSid",
      "AuthzInitializeContextFromToken",
      "AuthzAccessCheck",
      "GetFileSecurity",
      // Of a file handle; counted with the keys' GetSecurityInfo and SetSecurityInfo.
      "GetSecurityInfo",
      "SetSecurityInfo",
      "SetEntriesInAcl",
      "InitializeSecurityDescriptor",
      "SetSecurityDescriptorDacl",
      "SetSecurityDescriptorOwner",
      "CreateDirectory",
      "ConvertSidToStringSid",
      "LookupAccountSid",
      "ConvertSecurityDescriptorToSddl",
  };

  explicit SimSecurity(SimState& state) : s_(state) {}

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

 private:
  Descriptor FileDescriptor(const FileObject& object) const;
  // The object of an open file handle that was opened with `right`; nothing and the
  // last error otherwise.
  std::optional<FileObject> HandleObject(platform::Handle file, std::uint32_t right);

  struct Token {
    std::vector<std::string> sids;
    bool elevated = false;
    std::uint32_t elevation_type = 1;  // TokenElevationTypeDefault
    std::uint32_t integrity_rid = 0;
    bool impersonation = false;  // CheckTokenMembership takes only impersonation tokens
  };

  Token ProcessToken() const;
  Token* Find(platform::Handle handle);
  platform::Handle Add(Token token);

  SimState& s_;
  std::map<platform::Handle, Token> tokens_;
  std::map<platform::AuthzHandle, AccessToken> contexts_;
  platform::AuthzHandle next_authz_ = 0x2000;
  platform::Handle next_token_ = 0x7100000;
};

}  // namespace sim
