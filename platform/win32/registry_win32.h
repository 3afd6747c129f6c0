// Windows side: the registry. A key handed out is the HKEY itself, and the
// predefined roots already carry their Windows values, so keys pass through as they are.
#pragma once

#include <string>
#include <vector>

#include "platform/win32/windows_api.h"

#include "platform/registry.h"

namespace win32 {

class Win32Registry final : public platform::Registry {
 public:
  platform::ErrorCode RegOpenKeyEx(platform::RegKey root, std::string_view sub_key,
                                   std::uint32_t access, platform::RegKey* key) override;
  platform::ErrorCode RegCreateKeyEx(platform::RegKey root, std::string_view sub_key,
                                     std::uint32_t access, platform::RegKey* key,
                                     bool* created) override;
  platform::ErrorCode RegSetValueEx(platform::RegKey key, std::string_view name,
                                    std::uint32_t type,
                                    std::span<const std::uint8_t> data) override;
  platform::ErrorCode RegGetValue(platform::RegKey root, std::string_view sub_key,
                                  std::string_view name, std::uint32_t flags,
                                  std::uint32_t* type, void* data,
                                  std::uint32_t* size) override;
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
};

}  // namespace win32
