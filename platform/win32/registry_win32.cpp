// Windows side: the registry. Access masks, view flags and RegGetValue flags come
// from the caller and are passed to Windows unchanged.
#include "platform/win32/registry_win32.h"

#include <string>

namespace win32 {
namespace {

HKEY ToHkey(platform::RegKey key) { return reinterpret_cast<HKEY>(key); }
platform::RegKey ToRegKey(HKEY key) { return reinterpret_cast<platform::RegKey>(key); }

}  // namespace

platform::ErrorCode Win32Registry::RegOpenKeyEx(platform::RegKey root, std::string_view sub_key,
                                                std::uint32_t access, platform::RegKey* key) {
  HKEY opened = nullptr;
  const LSTATUS status =
      RegOpenKeyExA(ToHkey(root), std::string(sub_key).c_str(), 0, access, &opened);
  *key = ToRegKey(opened);
  return static_cast<platform::ErrorCode>(status);
}

platform::ErrorCode Win32Registry::RegCreateKeyEx(platform::RegKey root,
                                                  std::string_view sub_key,
                                                  std::uint32_t access, platform::RegKey* key,
                                                  bool* created) {
  HKEY opened = nullptr;
  DWORD disposition = 0;
  const LSTATUS status =
      RegCreateKeyExA(ToHkey(root), std::string(sub_key).c_str(), 0, nullptr,
                      REG_OPTION_NON_VOLATILE, access, nullptr, &opened, &disposition);
  *key = ToRegKey(opened);
  if (created != nullptr) *created = status == ERROR_SUCCESS && disposition == REG_CREATED_NEW_KEY;
  return static_cast<platform::ErrorCode>(status);
}

platform::ErrorCode Win32Registry::RegSetValueEx(platform::RegKey key, std::string_view name,
                                                 std::uint32_t type,
                                                 std::span<const std::uint8_t> data) {
  return static_cast<platform::ErrorCode>(RegSetValueExA(ToHkey(key), std::string(name).c_str(),
                                                         0, type, data.data(),
                                                         static_cast<DWORD>(data.size())));
}

platform::ErrorCode Win32Registry::RegGetValue(platform::RegKey root, std::string_view sub_key,
                                               std::string_view name, std::uint32_t flags,
                                               std::uint32_t* type, void* data,
                                               std::uint32_t* size) {
  // DWORD is unsigned long, a different type from std::uint32_t, so the two
  // outputs go through locals of the Windows type.
  DWORD value_type = 0;
  DWORD value_size = size != nullptr ? *size : 0;
  const LSTATUS status = RegGetValueA(ToHkey(root), std::string(sub_key).c_str(),
                                      std::string(name).c_str(), flags,
                                      type != nullptr ? &value_type : nullptr, data,
                                      size != nullptr ? &value_size : nullptr);
  if (type != nullptr) *type = value_type;
  if (size != nullptr) *size = value_size;
  return static_cast<platform::ErrorCode>(status);
}

platform::ErrorCode Win32Registry::RegCloseKey(platform::RegKey key) {
  return static_cast<platform::ErrorCode>(::RegCloseKey(ToHkey(key)));
}

platform::ErrorCode Win32Registry::RegQueryValueEx(platform::RegKey key, std::string_view name,
                                                   std::uint32_t* type, void* data,
                                                   std::uint32_t* size) {
  DWORD value_type = 0;
  DWORD value_size = size != nullptr ? *size : 0;
  const LSTATUS status = ::RegQueryValueExA(ToHkey(key), std::string(name).c_str(), nullptr,
                                          type != nullptr ? &value_type : nullptr,
                                          static_cast<BYTE*>(data),
                                          size != nullptr ? &value_size : nullptr);
  if (type != nullptr) *type = value_type;
  if (size != nullptr) *size = value_size;
  return static_cast<platform::ErrorCode>(status);
}

platform::ErrorCode Win32Registry::RegEnumValue(platform::RegKey key, std::uint32_t index,
                                                std::string* name, std::uint32_t* type,
                                                std::vector<std::uint8_t>* data) {
  // Value names hold at most 16,383 characters; the data may grow between the size
  // query and the read, which ERROR_MORE_DATA reports and the loop retries.
  char value_name[16384] = {};
  for (;;) {
    DWORD name_size = sizeof value_name;
    DWORD value_type = 0;
    DWORD data_size = 0;
    LSTATUS status = ::RegEnumValueA(ToHkey(key), index, value_name, &name_size, nullptr,
                                     &value_type, nullptr, &data_size);
    if (status != ERROR_SUCCESS) return static_cast<platform::ErrorCode>(status);
    data->assign(data_size, 0);
    name_size = sizeof value_name;
    status = ::RegEnumValueA(ToHkey(key), index, value_name, &name_size, nullptr, &value_type,
                             data->data(), &data_size);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) return static_cast<platform::ErrorCode>(status);
    data->resize(data_size);
    name->assign(value_name, name_size);
    *type = value_type;
    return ERROR_SUCCESS;
  }
}

}  // namespace win32
