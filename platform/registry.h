// The Windows registry. Keys are handles; the predefined roots have the values that
// Windows gives them. Every operation returns the LSTATUS of its Windows counterpart
// (0 on success) and is failable by its name from a simulated machine's [fail].
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/types.h"

namespace platform {

using RegKey = std::uintptr_t;

constexpr RegKey PredefinedKey(std::uint32_t value) {
  return static_cast<RegKey>(static_cast<std::intptr_t>(static_cast<std::int32_t>(value)));
}
inline constexpr RegKey kHKeyClassesRoot = PredefinedKey(0x80000000u);
inline constexpr RegKey kHKeyCurrentUser = PredefinedKey(0x80000001u);
inline constexpr RegKey kHKeyLocalMachine = PredefinedKey(0x80000002u);
inline constexpr RegKey kHKeyUsers = PredefinedKey(0x80000003u);

// Value types.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegQword = 11;

// Access rights and view flags.
inline constexpr std::uint32_t kKeyWow64_64Key = 0x0100;
inline constexpr std::uint32_t kKeyWow64_32Key = 0x0200;
inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyWrite = 0x20006;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;

// RegGetValue flags.
inline constexpr std::uint32_t kRrfRtRegSz = 0x00000002;
inline constexpr std::uint32_t kRrfRtRegDword = 0x00000010;
inline constexpr std::uint32_t kRrfRtAny = 0x0000FFFF;
inline constexpr std::uint32_t kRrfSubkeyWow6464Key = 0x00010000;
inline constexpr std::uint32_t kRrfSubkeyWow6432Key = 0x00020000;

class Registry {
 public:
  virtual ~Registry() = default;

  // RegOpenKeyExA.
  virtual ErrorCode RegOpenKeyEx(RegKey root, std::string_view sub_key, std::uint32_t access,
                                 RegKey* key) = 0;

  // RegCreateKeyExA (no class, non-volatile, no security attributes).
  virtual ErrorCode RegCreateKeyEx(RegKey root, std::string_view sub_key, std::uint32_t access,
                                   RegKey* key, bool* created) = 0;

  // RegSetValueExA; `name` empty is the key's default value.
  virtual ErrorCode RegSetValueEx(RegKey key, std::string_view name, std::uint32_t type,
                                  std::span<const std::uint8_t> data) = 0;

  // RegGetValueA: `*size` holds the buffer's size on entry and the value's on return.
  virtual ErrorCode RegGetValue(RegKey root, std::string_view sub_key, std::string_view name,
                                std::uint32_t flags, std::uint32_t* type, void* data,
                                std::uint32_t* size) = 0;

  // RegCloseKey.
  virtual ErrorCode RegCloseKey(RegKey key) = 0;

  // RegQueryValueExA on an open key: `*size` holds the buffer's size on entry and the
  // stored data's on return (ERROR_MORE_DATA when it does not fit). The data come as
  // stored: a text need not end in a terminator.
  virtual ErrorCode RegQueryValueEx(RegKey key, std::string_view name, std::uint32_t* type,
                                    void* data, std::uint32_t* size) = 0;

  // RegEnumValueA: the name, type and data of the value at `index` of an open key;
  // ERROR_NO_MORE_ITEMS (259) past the last one.
  virtual ErrorCode RegEnumValue(RegKey key, std::uint32_t index, std::string* name,
                                 std::uint32_t* type, std::vector<std::uint8_t>* data) = 0;

  // RegQueryReflectionKey, RegDisableReflectionKey, RegEnableReflectionKey.
  virtual ErrorCode RegQueryReflectionKey(RegKey key, bool* disabled) = 0;
  virtual ErrorCode RegDisableReflectionKey(RegKey key) = 0;
  virtual ErrorCode RegEnableReflectionKey(RegKey key) = 0;

  // GetSecurityInfo / SetSecurityInfo of an open key (SE_REGISTRY_KEY): the DACL points
  // into the descriptor, which LocalFree releases.
  virtual ErrorCode GetKeySecurityInfo(RegKey key, std::uint32_t information, void** dacl,
                                       void** descriptor) = 0;
  virtual ErrorCode SetKeySecurityInfo(RegKey key, std::uint32_t information,
                                       const void* dacl) = 0;

  // ntdll's NtSetInformationKey, found at run time, with KeyControlFlagsInformation:
  // `NoModule` when ntdll is not loaded, `NoFunction` (and the last error) when the
  // function cannot be found, else `Called` with the call's `*status`.
  enum class NtCall { NoModule, NoFunction, Called };
  virtual NtCall NtSetKeyControlFlags(RegKey key, std::uint32_t flags, std::uint32_t* status) = 0;
};

// Owns an open key and closes it when it goes out of scope.
class UniqueRegKey {
 public:
  explicit UniqueRegKey(Registry& registry) : registry_(&registry) {}
  UniqueRegKey(const UniqueRegKey&) = delete;
  UniqueRegKey& operator=(const UniqueRegKey&) = delete;
  UniqueRegKey(UniqueRegKey&& other) noexcept
      : registry_(other.registry_), key_(std::exchange(other.key_, 0)) {}
  ~UniqueRegKey() { reset(); }

  RegKey get() const { return key_; }
  RegKey* receive() {
    reset();
    return &key_;
  }
  void reset() {
    if (key_ != 0) registry_->RegCloseKey(std::exchange(key_, 0));
  }

 private:
  Registry* registry_;
  RegKey key_ = 0;
};

}  // namespace platform
