// Windows side: the user behind the launcher and its process token.
#include "platform/win32/security_win32.h"

#include <string>

namespace win32 {
namespace {

HANDLE ToHandle(platform::Handle handle) { return reinterpret_cast<HANDLE>(handle); }
platform::Handle FromHandle(HANDLE handle) { return reinterpret_cast<platform::Handle>(handle); }

static_assert(sizeof(platform::TokenMandatoryLabel) == sizeof(TOKEN_MANDATORY_LABEL));
static_assert(sizeof(platform::Handle) == sizeof(HANDLE));
static_assert(static_cast<int>(platform::WellKnownSid::BuiltinAdministrators) ==
              WinBuiltinAdministratorsSid);

}  // namespace

bool Win32Security::GetUserName(std::string* name) {
  char buffer[256] = {};
  DWORD size = sizeof buffer;
  if (!GetUserNameA(buffer, &size)) return false;
  name->assign(buffer, size > 0 ? size - 1 : 0);  // the size counts the terminator
  return true;
}

bool Win32Security::OpenProcessToken(std::uint32_t access, platform::Handle* token) {
  HANDLE opened = nullptr;
  if (!::OpenProcessToken(GetCurrentProcess(), access, &opened)) return false;
  *token = FromHandle(opened);
  return true;
}

bool Win32Security::GetTokenInformation(platform::Handle token,
                                        platform::TokenInformationClass information, void* buffer,
                                        std::uint32_t size, std::uint32_t* returned) {
  DWORD needed = 0;
  const BOOL ok = ::GetTokenInformation(
      ToHandle(token), static_cast<TOKEN_INFORMATION_CLASS>(information), buffer, size, &needed);
  *returned = needed;
  return ok != FALSE;
}

bool Win32Security::DuplicateToken(platform::Handle token, std::uint32_t level,
                                   platform::Handle* duplicate) {
  HANDLE copy = nullptr;
  if (!::DuplicateToken(ToHandle(token), static_cast<SECURITY_IMPERSONATION_LEVEL>(level), &copy))
    return false;
  *duplicate = FromHandle(copy);
  return true;
}

bool Win32Security::AllocateAndInitializeSid(platform::SidAuthority authority,
                                             std::span<const std::uint32_t> sub_authorities,
                                             void** sid) {
  if (sub_authorities.empty() || sub_authorities.size() > 8) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  DWORD subs[8] = {};
  for (std::size_t i = 0; i < sub_authorities.size(); ++i) subs[i] = sub_authorities[i];
  SID_IDENTIFIER_AUTHORITY identifier = {{0, 0, 0, 0, 0, static_cast<BYTE>(authority)}};
  PSID allocated = nullptr;
  if (!::AllocateAndInitializeSid(&identifier, static_cast<BYTE>(sub_authorities.size()), subs[0],
                                  subs[1], subs[2], subs[3], subs[4], subs[5], subs[6], subs[7],
                                  &allocated))
    return false;
  *sid = allocated;
  return true;
}

void Win32Security::FreeSid(void* sid) { ::FreeSid(sid); }

bool Win32Security::CreateWellKnownSid(platform::WellKnownSid kind, void* sid,
                                       std::uint32_t* size) {
  DWORD bytes = *size;
  const BOOL ok =
      ::CreateWellKnownSid(static_cast<WELL_KNOWN_SID_TYPE>(kind), nullptr, sid, &bytes);
  *size = bytes;
  return ok != FALSE;
}

bool Win32Security::CheckTokenMembership(platform::Handle token, const void* sid, bool* member) {
  BOOL is_member = FALSE;
  if (!::CheckTokenMembership(ToHandle(token), const_cast<void*>(sid), &is_member)) return false;
  *member = is_member != FALSE;
  return true;
}

std::uint32_t* Win32Security::GetSidSubAuthority(void* sid, std::uint32_t index) {
  return reinterpret_cast<std::uint32_t*>(::GetSidSubAuthority(sid, index));
}

void* Win32Security::LocalAlloc(std::size_t size) { return ::LocalAlloc(LPTR, size); }

void Win32Security::LocalFree(void* block) { ::LocalFree(block); }

}  // namespace win32
