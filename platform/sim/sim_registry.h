// Simulated workstation: the registry, with the 32-bit view of HKLM\SOFTWARE under
// WOW6432Node and access decided by the keys' security descriptors.
#pragma once

#include <string_view>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/sim/sim_state.h"

namespace sim {

// A root key without a descriptor of its own: administrators and the system may do
// anything, users may read; the user's own hive is the user's.
std::string DefaultRootDescriptor(std::string_view short_name, const std::string& user_sid);

// A full key path as security.txt names it ("HKLM\SOFTWARE\...").
std::string SecurityName(const std::string& path);

class SimRegistry : public platform::Registry {
 public:
  // The operations a machine's [fail] section may name.
  static constexpr std::string_view kOperations[] = {
      "RegOpenKeyEx",
      "RegCreateKeyEx",
      "RegSetValueEx",
      "RegGetValue",
      "RegCloseKey",
      "RegQueryValueEx",
      "RegEnumValue",
      "RegQueryReflectionKey",
      "RegDisableReflectionKey",
      "RegEnableReflectionKey",
      "GetSecurityInfo",
      "SetSecurityInfo",
      "NtSetInformationKey",
  };

  explicit SimRegistry(SimState& state) : s_(state) {}

  platform::ErrorCode RegOpenKeyEx(platform::RegKey root, std::string_view sub_key,
                                   std::uint32_t access, platform::RegKey* key) override;
  platform::ErrorCode RegCreateKeyEx(platform::RegKey root, std::string_view sub_key,
                                     std::uint32_t access, platform::RegKey* key,
                                     bool* created) override;
  platform::ErrorCode RegSetValueEx(platform::RegKey key, std::string_view name, std::uint32_t type,
                                    std::span<const std::uint8_t> data) override;
  platform::ErrorCode RegGetValue(platform::RegKey root, std::string_view sub_key,
                                  std::string_view name, std::uint32_t flags, std::uint32_t* type,
                                  void* data, std::uint32_t* size) override;
  platform::ErrorCode RegCloseKey(platform::RegKey key) override;
  platform::ErrorCode RegQueryValueEx(platform::RegKey key, std::string_view name,
                                      std::uint32_t* type, void* data,
                                      std::uint32_t* size) override;

  platform::ErrorCode RegEnumValue(platform::RegKey key, std::uint32_t index, std::string* name,
                                   std::uint32_t* type, std::vector<std::uint8_t>* data) override;
  platform::ErrorCode RegQueryReflectionKey(platform::RegKey key, bool* disabled) override;
  platform::ErrorCode RegDisableReflectionKey(platform::RegKey key) override;
  platform::ErrorCode RegEnableReflectionKey(platform::RegKey key) override;
  platform::ErrorCode GetKeySecurityInfo(platform::RegKey key, std::uint32_t information,
                                         void** dacl, void** descriptor) override;
  platform::ErrorCode SetKeySecurityInfo(platform::RegKey key, std::uint32_t information,
                                         const void* dacl) override;
  NtCall NtSetKeyControlFlags(platform::RegKey key, std::uint32_t flags,
                            std::uint32_t* status) override;

  enum class View { Process, Bits32, Bits64 };

 private:
  struct OpenKey {
    std::string path;  // full path, "HKEY_LOCAL_MACHINE\SOFTWARE\..."
    std::uint32_t granted = 0;
  };
  // The full path of `sub_key` under `root` in the given view; empty for a bad root.
  std::optional<std::string> FullPath(platform::RegKey root, std::string_view sub_key, View view) const;
  bool Allowed(const std::string& path, std::uint32_t access) const;
  platform::RegKey NewHandle(std::string path, std::uint32_t granted);
  // An open key, or nothing when the handle is not one.
  const OpenKey* Opened(platform::RegKey key) const;
  // Whether the machine reflects keys between the views: 64-bit Windows Vista only.
  platform::ErrorCode ReflectionAvailable(platform::RegKey key) const;

  SimState& s_;
  std::map<platform::RegKey, OpenKey> open_;
  std::set<std::string> reflection_disabled_;  // full key paths, for this run
  platform::RegKey next_handle_ = 0x1000;
};

}  // namespace sim
