// The user behind the launcher and its process token: the account name, the token's
// elevation, linked token and integrity label, group membership and the SIDs tested
// against it. Every operation that can fail sets the system's last error the way its
// Windows counterpart does and is failable by its name from a simulated machine's
// [fail].
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/processes.h"

namespace platform {

// Token access rights.
inline constexpr std::uint32_t kTokenDuplicate = 0x0002;
inline constexpr std::uint32_t kTokenQuery = 0x0008;

// The token information classes the launcher reads.
enum class TokenInformationClass : std::uint32_t {
  ElevationType = 18,   // TOKEN_ELEVATION_TYPE, 4 bytes
  LinkedToken = 19,     // a token handle
  Elevation = 20,       // TOKEN_ELEVATION, 4 bytes
  IntegrityLevel = 25,  // TOKEN_MANDATORY_LABEL followed by the label's SID
};

inline constexpr std::uint32_t kTokenElevationTypeLimited = 3;

// SECURITY_IMPERSONATION_LEVEL SecurityIdentification.
inline constexpr std::uint32_t kSecurityIdentification = 1;

// TOKEN_MANDATORY_LABEL: the SID points into the same buffer, after the label.
struct TokenMandatoryLabel {
  void* sid;
  std::uint32_t attributes;
};

// SECURITY_MAX_SID_SIZE.
inline constexpr std::uint32_t kMaxSidSize = 68;

enum class WellKnownSid : std::uint32_t { BuiltinAdministrators = 26 };

// CheckTokenMembership's "no token": the calling thread's own.
inline constexpr Handle kCurrentToken = 0;

class Security {
 public:
  virtual ~Security() = default;

  // GetUserNameA into a buffer of 256 characters.
  virtual bool GetUserName(std::string* name) = 0;

  // OpenProcessToken of the current process; closed by System::CloseHandle.
  virtual bool OpenProcessToken(std::uint32_t access, Handle* token) = 0;

  // GetTokenInformation into `size` bytes at `buffer` (none when `size` is 0);
  // `*returned` is the size the information needs, also when the buffer is too small
  // (ERROR_INSUFFICIENT_BUFFER).
  virtual bool GetTokenInformation(Handle token, TokenInformationClass information, void* buffer,
                                   std::uint32_t size, std::uint32_t* returned) = 0;

  // DuplicateToken at an impersonation level; closed by System::CloseHandle.
  virtual bool DuplicateToken(Handle token, std::uint32_t level, Handle* duplicate) = 0;

  // AllocateAndInitializeSid with the NT authority (5) and up to eight
  // sub-authorities; released by FreeSid, which cannot fail.
  virtual bool AllocateAndInitializeSid(std::span<const std::uint32_t> sub_authorities,
                                        void** sid) = 0;
  virtual void FreeSid(void* sid) = 0;

  // CreateWellKnownSid without a domain into `*size` bytes at `sid`.
  virtual bool CreateWellKnownSid(WellKnownSid kind, void* sid, std::uint32_t* size) = 0;

  // CheckTokenMembership; `token` an impersonation token, or kCurrentToken.
  virtual bool CheckTokenMembership(Handle token, const void* sid, bool* member) = 0;

  // GetSidSubAuthority: the address of one sub-authority of a valid SID; it cannot fail.
  virtual std::uint32_t* GetSidSubAuthority(void* sid, std::uint32_t index) = 0;

  // LocalAlloc of zeroed bytes (LPTR) for variable-size token information; null on
  // failure. LocalFree cannot fail for a block LocalAlloc gave.
  virtual void* LocalAlloc(std::size_t size) = 0;
  virtual void LocalFree(void* block) = 0;
};

}  // namespace platform
