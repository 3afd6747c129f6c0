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
  bool AllocateAndInitializeSid(std::span<const std::uint32_t> sub_authorities,
                                void** sid) override;
  void FreeSid(void* sid) override;
  bool CreateWellKnownSid(platform::WellKnownSid kind, void* sid, std::uint32_t* size) override;
  bool CheckTokenMembership(platform::Handle token, const void* sid, bool* member) override;
  std::uint32_t* GetSidSubAuthority(void* sid, std::uint32_t index) override;
  void* LocalAlloc(std::size_t size) override;
  void LocalFree(void* block) override;
};

}  // namespace win32
