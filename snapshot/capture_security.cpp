#include "snapshot/capture_security.h"

#include <cstddef>
#include <vector>

#include "config/config_keys.h"
#include "platform/error_codes.h"

namespace snapshot {
namespace {

constexpr std::uint32_t kOwnerGroupDacl = platform::kOwnerSecurityInformation |
                                          platform::kGroupSecurityInformation |
                                          platform::kDaclSecurityInformation;

// Frees a descriptor the system allocated.
class LocalBlock {
 public:
  explicit LocalBlock(platform::Security& security) : security_(security) {}
  LocalBlock(const LocalBlock&) = delete;
  LocalBlock& operator=(const LocalBlock&) = delete;
  ~LocalBlock() {
    if (block_ != nullptr) security_.LocalFree(block_);
  }
  void** receive() { return &block_; }
  const void* get() const { return block_; }

 private:
  platform::Security& security_;
  void* block_ = nullptr;
};

}  // namespace

std::optional<std::string> FileSddl(platform::Platform& os, std::string_view path,
                                    std::uint32_t* read_error) {
  std::uint32_t needed = 0;
  std::vector<std::byte> descriptor;
  std::string sddl;
  // The size query fails by design; only a failure with nothing to size is one.
  if (!os.security.GetFileSecurity(path, kOwnerGroupDacl, nullptr, 0, &needed) && needed != 0)
    descriptor.resize(needed);
  if (descriptor.empty() ||
      !os.security.GetFileSecurity(path, kOwnerGroupDacl, descriptor.data(), needed, &needed)) {
    if (read_error != nullptr) *read_error = os.system.GetLastError();
    return std::nullopt;
  }
  if (!os.security.ConvertSecurityDescriptorToSddl(descriptor.data(), kOwnerGroupDacl, &sddl))
    return std::nullopt;
  return sddl;
}

std::vector<std::pair<std::string, std::string>> CaptureSecurity(
    platform::Platform& os, const std::vector<std::string>& paths, Denials& denials) {
  std::vector<std::pair<std::string, std::string>> found;
  std::string sddl;
  for (const char* path : {kConfigKeyPath, kLauncherKeyPath}) {
    const std::string object = std::string("HKLM\\") + path;
    platform::UniqueRegKey key(os.registry);
    // A missing key is no denial; the registry capture records every other failure.
    if (os.registry.RegOpenKeyEx(platform::kHKeyLocalMachine, path,
                                 platform::kKeyRead | platform::kKeyWow64_64Key,
                                 key.receive()) != 0)
      continue;
    void* dacl = nullptr;
    LocalBlock descriptor(os.security);
    const std::uint32_t read =
        os.registry.GetKeySecurityInfo(key.get(), kOwnerGroupDacl, &dacl, descriptor.receive());
    if (read != 0)
      denials.Query("GetSecurityInfo", read, object, true);
    else if (os.security.ConvertSecurityDescriptorToSddl(descriptor.get(), kOwnerGroupDacl, &sddl))
      found.emplace_back(object, sddl);
  }
  for (const std::string& path : paths) {
    if (os.files.GetFileAttributes(path) == platform::kInvalidFileAttributes) continue;
    std::uint32_t error = 0;
    if (auto sddl = FileSddl(os, path, &error))
      found.emplace_back(path, std::move(*sddl));
    else if (error != 0 && error != platform::kErrorFileNotFound &&
             error != platform::kErrorPathNotFound)  // gone since it was found
      denials.Query("GetFileSecurity", error, path, false);
  }
  return found;
}

}  // namespace snapshot
