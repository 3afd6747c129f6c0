// Windows side: reflection, descriptors and control flags of open keys.
#include "platform/win32/registry_win32.h"

namespace win32 {
namespace {

HKEY ToHkey(platform::RegKey key) { return reinterpret_cast<HKEY>(key); }

// NtSetInformationKey's KEY_SET_INFORMATION_CLASS argument.
constexpr int kKeyControlFlagsInformation = 2;
using NtSetInformationKeyFunction = LONG(NTAPI*)(HANDLE, int, PVOID, ULONG);

}  // namespace

platform::ErrorCode Win32Registry::RegQueryReflectionKey(platform::RegKey key, bool* disabled) {
  BOOL is_disabled = FALSE;
  const LONG result = ::RegQueryReflectionKey(ToHkey(key), &is_disabled);
  *disabled = is_disabled != FALSE;
  return static_cast<platform::ErrorCode>(result);
}

platform::ErrorCode Win32Registry::RegDisableReflectionKey(platform::RegKey key) {
  return static_cast<platform::ErrorCode>(::RegDisableReflectionKey(ToHkey(key)));
}

platform::ErrorCode Win32Registry::RegEnableReflectionKey(platform::RegKey key) {
  return static_cast<platform::ErrorCode>(::RegEnableReflectionKey(ToHkey(key)));
}

platform::ErrorCode Win32Registry::GetKeySecurityInfo(platform::RegKey key,
                                                      std::uint32_t information, void** dacl,
                                                      void** descriptor) {
  PACL list = nullptr;
  PSECURITY_DESCRIPTOR found = nullptr;
  const DWORD result = ::GetSecurityInfo(ToHkey(key), SE_REGISTRY_KEY, information, nullptr,
                                         nullptr, &list, nullptr, &found);
  if (result == ERROR_SUCCESS) {
    *dacl = list;
    *descriptor = found;
  }
  return result;
}

platform::ErrorCode Win32Registry::SetKeySecurityInfo(platform::RegKey key,
                                                      std::uint32_t information,
                                                      const void* dacl) {
  return ::SetSecurityInfo(ToHkey(key), SE_REGISTRY_KEY, information, nullptr, nullptr,
                           static_cast<PACL>(const_cast<void*>(dacl)), nullptr);
}

platform::Registry::NtCall Win32Registry::NtSetKeyControlFlags(platform::RegKey key, std::uint32_t flags,
                                                               std::uint32_t* status) {
  HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
  if (ntdll == nullptr) return NtCall::NoModule;
  auto function = reinterpret_cast<NtSetInformationKeyFunction>(
      reinterpret_cast<void*>(::GetProcAddress(ntdll, "NtSetInformationKey")));
  if (function == nullptr) return NtCall::NoFunction;
  ULONG value = flags;
  *status = static_cast<std::uint32_t>(
      function(ToHkey(key), kKeyControlFlagsInformation, &value, sizeof value));
  return NtCall::Called;
}

}  // namespace win32
