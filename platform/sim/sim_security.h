// Simulated workstation: the user of [user] and the launcher's process token.
//
// The process token holds the user's SID, Everyone, Users, Authenticated Users,
// Interactive and, with token_admin, Administrators. An administrator whose token
// is not an administrator's (administrators_member without token_admin) has the
// filtered token of UAC, linked to a full, elevated one of high integrity.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/security.h"
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
  };

  explicit SimSecurity(SimState& state) : s_(state) {}

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

 private:
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
  platform::Handle next_token_ = 0x7100000;
};

}  // namespace sim
