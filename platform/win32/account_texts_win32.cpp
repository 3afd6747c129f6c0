// Windows side: SIDs and security descriptors as text, and account names by SID.
#include <cstring>
#include <string>

#include "platform/win32/security_win32.h"

namespace win32 {

namespace {

// Owns a block the system allocated with LocalAlloc.
class LocalText {
 public:
  LocalText() = default;
  LocalText(const LocalText&) = delete;
  LocalText& operator=(const LocalText&) = delete;
  ~LocalText() {
    if (text_ != nullptr) ::LocalFree(text_);
  }
  LPSTR* receive() { return &text_; }
  const char* get() const { return text_; }

 private:
  LPSTR text_ = nullptr;
};

}  // namespace

bool Win32Security::ConvertSidToStringSid(const void* sid, std::string* text) {
  LocalText converted;
  if (!::ConvertSidToStringSidA(const_cast<PSID>(sid), converted.receive())) return false;
  *text = converted.get();
  return true;
}

bool Win32Security::LookupAccountSid(const void* sid, std::string* name, std::string* domain) {
  char account[256] = {};
  char authority[256] = {};
  DWORD account_size = sizeof account;
  DWORD authority_size = sizeof authority;
  SID_NAME_USE use = SidTypeUnknown;
  if (!::LookupAccountSidA(nullptr, const_cast<PSID>(sid), account, &account_size, authority,
                           &authority_size, &use))
    return false;
  // The sizes returned exclude the terminator on Windows; the texts end there anyway.
  name->assign(account, strnlen(account, sizeof account));
  domain->assign(authority, strnlen(authority, sizeof authority));
  return true;
}

bool Win32Security::ConvertSecurityDescriptorToSddl(const void* descriptor,
                                                    std::uint32_t information,
                                                    std::string* sddl) {
  LocalText converted;
  if (!::ConvertSecurityDescriptorToStringSecurityDescriptorA(
          const_cast<PSECURITY_DESCRIPTOR>(descriptor), SDDL_REVISION_1, information,
          converted.receive(), nullptr))
    return false;
  *sddl = converted.get();
  return true;
}

}  // namespace win32
