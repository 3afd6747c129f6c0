// Simulated workstation: the registry.
#include "platform/sim/sim_registry.h"

#include <array>
#include <cstring>

#include "platform/error_codes.h"
#include "platform/sim/text_util.h"
#include "platform/sim/wow64_shared_keys.h"

namespace sim {
namespace {

using platform::ErrorCode;

using platform::kErrorInvalidHandle;
constexpr ErrorCode kErrorInvalidData = 13;
constexpr ErrorCode kErrorUnsupportedType = 1630;
constexpr std::uint32_t kKeyQueryValue = 0x0001;
constexpr std::uint32_t kKeySetValue = 0x0002;
constexpr std::uint32_t kKeyCreateSubKey = 0x0004;

struct Root {
  platform::RegKey key;
  std::string_view name;
  std::string_view short_name;  // as security.txt names it
};
constexpr std::array kRoots = {
    Root{platform::kHKeyClassesRoot, "HKEY_CLASSES_ROOT", "HKCR"},
    Root{platform::kHKeyCurrentUser, "HKEY_CURRENT_USER", "HKCU"},
    Root{platform::kHKeyLocalMachine, "HKEY_LOCAL_MACHINE", "HKLM"},
    Root{platform::kHKeyUsers, "HKEY_USERS", "HKU"},
};

}  // namespace

std::string DefaultRootDescriptor(std::string_view short_name, const std::string& user_sid) {
  if (short_name == "HKCU") return "D:(A;CI;KA;;;" + user_sid + ")(A;CI;KA;;;SY)(A;CI;KA;;;BA)";
  return "D:(A;CI;KA;;;SY)(A;CI;KA;;;BA)(A;CI;KR;;;BU)";
}

std::string SecurityName(const std::string& path) {
  for (const auto& root : kRoots)
    if (StartsWithIgnoreCase(path, root.name))
      return std::string(root.short_name) + path.substr(root.name.size());
  return path;
}

namespace {

// The view a call asks for with its flags.
SimRegistry::View ViewOf(std::uint32_t flags, std::uint32_t flag64, std::uint32_t flag32) {
  if (flags & flag64) return SimRegistry::View::Bits64;
  if (flags & flag32) return SimRegistry::View::Bits32;
  return SimRegistry::View::Process;
}

std::uint32_t TypeFlag(std::uint32_t type) {
  switch (type) {
    case platform::kRegNone: return 0x01;
    case platform::kRegSz: return 0x02;
    case platform::kRegExpandSz: return 0x04;
    case platform::kRegBinary: return 0x08;
    case platform::kRegDword: return 0x10;
    case platform::kRegMultiSz: return 0x20;
    case platform::kRegQword: return 0x40;
    default: return 0;
  }
}

}  // namespace

std::optional<std::string> SimRegistry::FullPath(platform::RegKey root, std::string_view sub_key,
                                                  View view) const {
  std::string path;
  for (const auto& r : kRoots)
    if (r.key == root) path = r.name;
  std::string sub(sub_key);
  while (!sub.empty() && sub.front() == '\\') sub.erase(0, 1);
  while (!sub.empty() && sub.back() == '\\') sub.pop_back();
  if (path.empty()) {
    auto open = open_.find(root);
    if (open == open_.end()) return std::nullopt;
    path = open->second.path;
    // An open key is already in the view it was opened in: its own values are read there.
    if (sub.empty()) return path;
  }
  if (!sub.empty()) path += "\\" + sub;

  // A 32-bit view on a 64-bit machine sees HKLM\SOFTWARE\WOW6432Node as HKLM\SOFTWARE,
  // apart from the keys both views share.
  const bool view32 = view == View::Bits32 ||
                      (view == View::Process && !s_.LauncherIs64Bit());
  constexpr std::string_view kSoftware = "HKEY_LOCAL_MACHINE\\SOFTWARE";
  if (view32 && s_.MachineIs64Bit() && StartsWithIgnoreCase(path, kSoftware) &&
      (path.size() == kSoftware.size() || path[kSoftware.size()] == '\\')) {
    std::string rest = path.substr(kSoftware.size());
    const bool shared = !rest.empty() && IsSharedSoftwareKey(std::string_view(rest).substr(1));
    if (!shared && !StartsWithIgnoreCase(rest, "\\WOW6432Node"))
      path = std::string(kSoftware) + "\\WOW6432Node" + rest;
  }
  return path;
}

bool SimRegistry::Allowed(const std::string& path, std::uint32_t access) const {
  const std::string object = SecurityName(path);
  int depth = 0;
  std::string effective = s_.security.Effective(object, &depth);
  if (effective.empty()) {
    std::string root = object.substr(0, object.find('\\'));
    effective = DefaultRootDescriptor(root, s_.machine.user.sid);
  }
  return AccessAllowed(effective, depth, ObjectKind::Key, s_.token, access);
}

platform::RegKey SimRegistry::NewHandle(std::string path, std::uint32_t granted) {
  platform::RegKey handle = next_handle_;
  next_handle_ += 4;
  open_[handle] = OpenKey{std::move(path), granted};
  return handle;
}


ErrorCode SimRegistry::RegOpenKeyEx(platform::RegKey root, std::string_view sub_key,
                                    std::uint32_t access, platform::RegKey* key) {
  ErrorCode error = 0;
  if (s_.Fails("RegOpenKeyEx", &error)) return error;
  const View view = ViewOf(access, platform::kKeyWow64_64Key, platform::kKeyWow64_32Key);
  auto path = FullPath(root, sub_key, view);
  if (!path) return kErrorInvalidHandle;
  const RegistryKey* node = s_.registry.Find(*path);
  if (!node) return platform::kErrorFileNotFound;
  if (!Allowed(*path, access)) return platform::kErrorAccessDenied;
  *key = NewHandle(*path, access);
  return platform::kErrorSuccess;
}

ErrorCode SimRegistry::RegCreateKeyEx(platform::RegKey root, std::string_view sub_key,
                                      std::uint32_t access, platform::RegKey* key, bool* created) {
  ErrorCode error = 0;
  if (s_.Fails("RegCreateKeyEx", &error)) return error;
  const View view = ViewOf(access, platform::kKeyWow64_64Key, platform::kKeyWow64_32Key);
  auto path = FullPath(root, sub_key, view);
  if (!path) return kErrorInvalidHandle;
  if (s_.registry.Find(*path)) {
    if (!Allowed(*path, access)) return platform::kErrorAccessDenied;
    if (created) *created = false;
    *key = NewHandle(*path, access);
    return platform::kErrorSuccess;
  }
  std::string parent = *path;
  while (!s_.registry.Find(parent)) {
    std::size_t slash = parent.rfind('\\');
    if (slash == std::string::npos) return platform::kErrorFileNotFound;
    parent.resize(slash);
  }
  if (!Allowed(parent, kKeyCreateSubKey)) return platform::kErrorAccessDenied;
  if (!s_.registry.Create(*path)) return platform::kErrorFileNotFound;
  if (created) *created = true;
  *key = NewHandle(*path, access);
  return platform::kErrorSuccess;
}

ErrorCode SimRegistry::RegSetValueEx(platform::RegKey key, std::string_view name,
                                     std::uint32_t type, std::span<const std::uint8_t> data) {
  ErrorCode error = 0;
  if (s_.Fails("RegSetValueEx", &error)) return error;
  auto open = open_.find(key);
  if (open == open_.end()) return kErrorInvalidHandle;
  const std::uint32_t granted = open->second.granted;
  if (!(granted & kKeySetValue) && !(granted & 0x10000000)) return platform::kErrorAccessDenied;
  RegistryKey* node = s_.registry.Find(open->second.path);
  if (!node) return platform::kErrorFileNotFound;  // deleted while open
  node->SetValue(RegistryValue{std::string(name), type, {data.begin(), data.end()}});
  return platform::kErrorSuccess;
}

ErrorCode SimRegistry::RegGetValue(platform::RegKey root, std::string_view sub_key,
                                   std::string_view name, std::uint32_t flags, std::uint32_t* type,
                                   void* data, std::uint32_t* size) {
  ErrorCode error = 0;
  if (s_.Fails("RegGetValue", &error)) return error;
  const View view = ViewOf(flags, platform::kRrfSubkeyWow6464Key, platform::kRrfSubkeyWow6432Key);
  auto path = FullPath(root, sub_key, view);
  if (!path) return kErrorInvalidHandle;
  const RegistryKey* node = s_.registry.Find(*path);
  if (!node) return platform::kErrorFileNotFound;
  if (!Allowed(*path, kKeyQueryValue)) return platform::kErrorAccessDenied;
  const RegistryValue* value = node->Value(name);
  if (!value) return platform::kErrorFileNotFound;
  if (!(TypeFlag(value->type) & flags)) return kErrorUnsupportedType;

  std::vector<std::uint8_t> bytes = value->data;
  if (value->type == platform::kRegSz || value->type == platform::kRegExpandSz) {
    if (bytes.empty() || bytes.back() != 0) bytes.push_back(0);
  } else if (value->type == platform::kRegDword && bytes.size() != 4) {
    return kErrorInvalidData;
  }
  if (type) *type = value->type;
  if (!size) return data ? platform::kErrorInvalidParameter : platform::kErrorSuccess;
  const std::uint32_t needed = static_cast<std::uint32_t>(bytes.size());
  if (!data) {
    *size = needed;
    return platform::kErrorSuccess;
  }
  if (*size < needed) {
    *size = needed;
    return platform::kErrorMoreData;
  }
  std::memcpy(data, bytes.data(), needed);
  *size = needed;
  return platform::kErrorSuccess;
}

ErrorCode SimRegistry::RegCloseKey(platform::RegKey key) {
  ErrorCode error = 0;
  if (s_.Fails("RegCloseKey", &error)) return error;
  for (const auto& r : kRoots)
    if (r.key == key) return platform::kErrorSuccess;
  return open_.erase(key) ? platform::kErrorSuccess : kErrorInvalidHandle;
}

ErrorCode SimRegistry::RegQueryValueEx(platform::RegKey key, std::string_view name,
                                       std::uint32_t* type, void* data, std::uint32_t* size) {
  ErrorCode error = 0;
  if (s_.Fails("RegQueryValueEx", &error)) return error;
  auto open = open_.find(key);
  if (open == open_.end()) return kErrorInvalidHandle;
  const std::uint32_t granted = open->second.granted;
  if (!(granted & kKeyQueryValue) && !(granted & 0x90000000)) return platform::kErrorAccessDenied;
  const RegistryKey* node = s_.registry.Find(open->second.path);
  if (!node) return platform::kErrorFileNotFound;  // deleted while open
  const RegistryValue* value = node->Value(name);
  if (!value) return platform::kErrorFileNotFound;
  if (type) *type = value->type;
  if (!size) return data ? platform::kErrorInvalidParameter : platform::kErrorSuccess;
  const auto needed = static_cast<std::uint32_t>(value->data.size());
  const std::uint32_t room = *size;
  *size = needed;
  if (!data) return platform::kErrorSuccess;
  if (room < needed) return platform::kErrorMoreData;
  std::memcpy(data, value->data.data(), needed);
  return platform::kErrorSuccess;
}

ErrorCode SimRegistry::RegEnumValue(platform::RegKey key, std::uint32_t index, std::string* name,
                                    std::uint32_t* type, std::vector<std::uint8_t>* data) {
  ErrorCode error = 0;
  if (s_.Fails("RegEnumValue", &error)) return error;
  auto open = open_.find(key);
  if (open == open_.end()) return kErrorInvalidHandle;
  if (!(open->second.granted & kKeyQueryValue) && !(open->second.granted & 0x90000000))
    return platform::kErrorAccessDenied;
  const RegistryKey* node = s_.registry.Find(open->second.path);
  if (!node) return platform::kErrorFileNotFound;  // deleted while open
  if (index >= node->values.size()) return platform::kErrorNoMoreItems;
  const RegistryValue& value = node->values[index];
  *name = value.name;
  *type = value.type;
  *data = value.data;
  return platform::kErrorSuccess;
}

}  // namespace sim
