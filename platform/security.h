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
#include <string_view>

#include "platform/processes.h"
#include "platform/types.h"

namespace platform {

// Token access rights.
inline constexpr std::uint32_t kTokenDuplicate = 0x0002;
inline constexpr std::uint32_t kTokenQuery = 0x0008;

// The token information classes the launcher reads.
enum class TokenInformationClass : std::uint32_t {
  User = 1,             // TOKEN_USER followed by the user's SID
  ElevationType = 18,   // TOKEN_ELEVATION_TYPE, 4 bytes
  LinkedToken = 19,     // a token handle
  Elevation = 20,       // TOKEN_ELEVATION, 4 bytes
  IntegrityLevel = 25,  // TOKEN_MANDATORY_LABEL followed by the label's SID
};

inline constexpr std::uint32_t kTokenElevationTypeLimited = 3;

// TOKEN_USER: the SID points into the same buffer, after the record.
struct TokenUser {
  void* sid;
  std::uint32_t attributes;
};

// SECURITY_IMPERSONATION_LEVEL SecurityIdentification.
inline constexpr std::uint32_t kSecurityIdentification = 1;

// TOKEN_MANDATORY_LABEL: the SID points into the same buffer, after the label.
struct TokenMandatoryLabel {
  void* sid;
  std::uint32_t attributes;
};

// SID identifier authorities.
enum class SidAuthority : std::uint8_t { World = 1, Nt = 5 };

// The parts of a security descriptor a call reads or writes.
inline constexpr std::uint32_t kOwnerSecurityInformation = 0x1;
inline constexpr std::uint32_t kGroupSecurityInformation = 0x2;
inline constexpr std::uint32_t kDaclSecurityInformation = 0x4;

// SECURITY_DESCRIPTOR_MIN_LENGTH: an absolute descriptor, whose owner and DACL are
// pointers.
inline constexpr std::size_t kSecurityDescriptorMinLength = sizeof(void*) == 8 ? 40 : 20;

// EXPLICIT_ACCESS_A, for SetEntriesInAcl.
enum class AccessMode : std::uint32_t { Set = 2 };
enum class TrusteeForm : std::uint32_t { Sid = 0, Name = 1 };
enum class TrusteeType : std::uint32_t { Group = 2, WellKnownGroup = 5 };
inline constexpr std::uint32_t kSubContainersAndObjectsInherit = 3;
struct ExplicitAccess {
  std::uint32_t permissions = 0;
  AccessMode mode = AccessMode::Set;
  std::uint32_t inheritance = 0;
  TrusteeForm form = TrusteeForm::Sid;
  TrusteeType type = TrusteeType::Group;
  const void* sid = nullptr;    // TrusteeForm::Sid
  const char* name = nullptr;   // TrusteeForm::Name
};

// An Authz resource manager or client context; 0 is none.
using AuthzHandle = std::uintptr_t;

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

  // AllocateAndInitializeSid with up to eight sub-authorities; released by FreeSid,
  // which cannot fail.
  virtual bool AllocateAndInitializeSid(SidAuthority authority,
                                        std::span<const std::uint32_t> sub_authorities,
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

  // Authz without auditing: a resource manager, a client context of one SID or of a
  // token, and the rights a descriptor grants the context when it asks for the most
  // it may have (MAXIMUM_ALLOWED). `*reply_error` is the reply's error word (0, or 5
  // when nothing is granted). Freeing cannot fail.
  virtual bool AuthzInitializeResourceManager(AuthzHandle* manager) = 0;
  virtual bool AuthzInitializeContextFromSid(AuthzHandle manager, const void* sid,
                                             AuthzHandle* context) = 0;
  virtual bool AuthzInitializeContextFromToken(AuthzHandle manager, Handle token,
                                               AuthzHandle* context) = 0;
  virtual bool AuthzAccessCheck(AuthzHandle context, const void* descriptor,
                                const void* principal_self_sid, std::uint32_t* granted,
                                std::uint32_t* reply_error) = 0;
  virtual void AuthzFreeContext(AuthzHandle context) = 0;
  virtual void AuthzFreeResourceManager(AuthzHandle manager) = 0;

  // GetFileSecurityA: the self-relative descriptor of a file or folder into `size`
  // bytes at `buffer`; `*needed` is its size, also when the buffer is too small
  // (ERROR_INSUFFICIENT_BUFFER).
  virtual bool GetFileSecurity(std::string_view path, std::uint32_t information, void* buffer,
                               std::uint32_t size, std::uint32_t* needed) = 0;
  virtual bool IsValidSecurityDescriptor(const void* descriptor) = 0;

  // GetSecurityInfo / SetSecurityInfo of a file or folder opened by CreateFile
  // (SE_FILE_OBJECT): reading needs the handle's READ_CONTROL, writing its WRITE_DAC.
  // The DACL points into the descriptor, which LocalFree releases.
  virtual ErrorCode GetFileSecurityInfo(Handle file, std::uint32_t information, void** dacl,
                                        void** descriptor) = 0;
  virtual ErrorCode SetFileSecurityInfo(Handle file, std::uint32_t information,
                                        const void* dacl) = 0;

  // SetEntriesInAclA: a new ACL (LocalFree) of `old_acl`'s entries merged with
  // `entries`.
  virtual ErrorCode SetEntriesInAcl(std::span<const ExplicitAccess> entries, const void* old_acl,
                                    void** new_acl) = 0;

  // An absolute descriptor in kSecurityDescriptorMinLength bytes, its DACL and owner.
  virtual bool InitializeSecurityDescriptor(void* descriptor) = 0;
  virtual bool SetSecurityDescriptorDacl(void* descriptor, const void* acl) = 0;
  virtual bool SetSecurityDescriptorOwner(void* descriptor, const void* sid) = 0;

  // ConvertSidToStringSidA: the SID as text ("S-1-5-21-...").
  virtual bool ConvertSidToStringSid(const void* sid, std::string* text) = 0;

  // LookupAccountSidA on the local system: the account's name and domain.
  virtual bool LookupAccountSid(const void* sid, std::string* name, std::string* domain) = 0;

  // ConvertSecurityDescriptorToStringSecurityDescriptorA (SDDL revision 1) of the
  // parts `information` names.
  virtual bool ConvertSecurityDescriptorToSddl(const void* descriptor, std::uint32_t information,
                                               std::string* sddl) = 0;

  // CreateDirectoryA with this descriptor; 183 when something exists there already.
  virtual bool CreateDirectory(std::string_view path, const void* descriptor) = 0;
};

}  // namespace platform
