// Reading and writing single registry values for the rest of the launcher.
#include "config/registry_access.h"

#include <array>
#include <cstring>

#include "base/launcher.h"
#include "config/config_keys.h"
#include "diag/error_strings.h"
#include "diag/log.h"
#include "platform/error_codes.h"

namespace {

constexpr std::uint32_t kErrorInvalidData = 13;
constexpr std::uint32_t kErrorDatatypeMismatch = 1629;
constexpr std::uint32_t kLauncherValueSize = 100;

// Why stored data cannot be handed over as read: a DWORD of another size, or a text
// that fills the buffer without its terminator. 0 when the data are usable; a text
// gets its terminator when the buffer has room for it. Another type than the caller
// expects is handed over as it is stored: the caller reads its buffer as its own type.
std::uint32_t CheckStoredData(std::uint32_t type, void* data, std::uint32_t size, std::uint32_t room) {
  if (type == platform::kRegDword && size != 4) return kErrorInvalidData;
  if (type == platform::kRegSz) {
    auto* text = static_cast<char*>(data);
    if (std::memchr(text, '\0', size) != nullptr) return 0;
    if (size >= room) return platform::kErrorMoreData;
    text[size] = '\0';
  }
  return 0;
}

}  // namespace

bool GetRegistryValue(Launcher& l, std::string_view path, std::string_view name,
                      std::uint32_t* type, void* data, std::uint32_t* size) {
  LogNestingScope nesting(l);
  const std::string path_text(path);
  const std::string name_text(name);
  if (data == nullptr || type == nullptr || size == nullptr) {
    DebugLog(l, "GetRegistryValue: Path \"%s\" Result: FAILED to retrieve value \"%s\": destination pointer is null.",
             path_text.c_str(), name_text.c_str());
    return false;
  }
  FixedString<1024> description;
  platform::UniqueRegKey key(l.os.registry);
  auto status = l.os.registry.RegOpenKeyEx(platform::kHKeyLocalMachine, path, kRegReadAccess, key.receive());
  if (status != platform::kErrorSuccess) {
    FormatErrorString(l, status, description);
    DebugLog(l, "GetRegistryValue: Path \"%s\" Result: FAILED to open key. Reason: %s", path_text.c_str(),
             description.c_str());
    return false;
  }
  const std::uint32_t room = *size;
  status = l.os.registry.RegQueryValueEx(key.get(), name, type, data, size);
  key.reset();
  if (status == platform::kErrorSuccess) status = CheckStoredData(*type, data, *size, room);
  if (status != platform::kErrorSuccess) {
    FormatErrorString(l, status, description);
    DebugLog(l, "GetRegistryValue: Path \"%s\" Result: FAILED to retrieve value \"%s\". Reason: %s",
             path_text.c_str(), name_text.c_str(), description.c_str());
    return false;
  }
  if (*type == platform::kRegDword) {
    std::uint32_t value = 0;
    std::memcpy(&value, data, sizeof value);
    DebugLog(l, "GetRegistryValue: Path \"%s\" Key: \"%s\" Result: Success. Type: DWORD Value: %u",
             path_text.c_str(), name_text.c_str(), value);
  } else if (*type == platform::kRegSz) {
    DebugLog(l, "GetRegistryValue: Path \"%s\" Key: \"%s\" Result: Success. Type: SZ Value: %s",
             path_text.c_str(), name_text.c_str(), static_cast<const char*>(data));
  } else {
    DebugLog(l, "GetRegistryValue: Path \"%s\" Key: \"%s\" Result: Success. Type: Unspecified.",
             path_text.c_str(), name_text.c_str());
  }
  return true;
}

bool ReadLauncherValue(Launcher& l, std::string_view name, LauncherValue& value) {
  const std::string name_text(name);
  ErrorDescription description;
  value.clear();
  platform::UniqueRegKey key(l.os.registry);
  auto status =
      l.os.registry.RegOpenKeyEx(platform::kHKeyLocalMachine, kLauncherKeyPath, kRegReadAccess, key.receive());
  if (status != platform::kErrorSuccess) {
    FormatErrorString(l, status, description);
    ErrorLog(l, "Tavix registry access failed: Error while opening key \"%s\"; %s", kLauncherKeyPath,
             description.c_str());
    return false;
  }
  std::array<char, kLauncherValueSize> buffer{};
  std::uint32_t type = 0;
  std::uint32_t size = kLauncherValueSize;
  status = l.os.registry.RegQueryValueEx(key.get(), name, &type, buffer.data(), &size);
  // Only text is handed over; the 100 bytes need not hold a terminator.
  if (status == platform::kErrorSuccess && type != platform::kRegSz) status = kErrorDatatypeMismatch;
  if (status == platform::kErrorSuccess) {
    value.assign_cut(std::string_view(buffer.data(), strnlen(buffer.data(), buffer.size())));
    DebugLog(l, "Registry access: Read success from key \"%s\" in \"%s\". Value=%s", name_text.c_str(),
             kLauncherKeyPath, value.c_str());
    return true;
  }
  FormatErrorString(l, status, description);
  if (status == platform::kErrorFileNotFound || status == platform::kErrorPathNotFound) {
    DebugLog(l, "Registry access did not succeed: Key not found while reading key \"%s\" from \"%s\"; %s",
             name_text.c_str(), kLauncherKeyPath, description.c_str());
  } else {
    ErrorLog(l, "Registry access failed: Error while reading key \"%s\" from \"%s\"; %s", name_text.c_str(),
             kLauncherKeyPath, description.c_str());
  }
  return false;
}

bool OpenLauncherKeyForWriting(Launcher& l, platform::UniqueRegKey& key) {
  auto status =
      l.os.registry.RegOpenKeyEx(platform::kHKeyLocalMachine, kLauncherKeyPath, kRegWriteAccess, key.receive());
  if (status == platform::kErrorSuccess) return true;
  ErrorDescription description;
  if (status != platform::kErrorFileNotFound && status != platform::kErrorPathNotFound) {
    FormatErrorString(l, status, description);
    ErrorLog(l, "Tavix registry access failed: Error while opening key \"%s\"; %s", kLauncherKeyPath,
             description.c_str());
    return false;
  }
  bool created = false;
  status = l.os.registry.RegCreateKeyEx(platform::kHKeyLocalMachine, kLauncherKeyPath, kRegCreateAccess,
                                        key.receive(), &created);
  if (status == platform::kErrorSuccess) return true;
  // A missing key that cannot be created is expected before setup: not an error.
  FormatErrorString(l, status, description);
  DebugLog(l, "Tavix registry access failed: Error while creating/opening key \"%s\"; Setup may be required; %s",
           kLauncherKeyPath, description.c_str());
  return false;
}

bool WriteUsingTCache(Launcher& l, std::uint32_t value) {
  platform::UniqueRegKey key(l.os.registry);
  if (!OpenLauncherKeyForWriting(l, key)) return false;
  std::array<std::uint8_t, 4> bytes{};
  std::memcpy(bytes.data(), &value, sizeof value);
  const auto status = l.os.registry.RegSetValueEx(key.get(), "UsingTCache", platform::kRegDword, bytes);
  if (status == platform::kErrorSuccess) return true;
  ErrorDescription description;
  FormatErrorString(l, status, description);
  ErrorLog(l, "Tavix registry access failed: Error while writing key \"%s\" to \"%s\"; %s", "UsingTCache",
           kLauncherKeyPath, description.c_str());
  return false;
}
