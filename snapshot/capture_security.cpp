#include "snapshot/capture_security.h"

#include <cstddef>
#include <vector>

#include "config/config_keys.h"

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

std::optional<std::string> FileSddl(platform::Platform& os, std::string_view path) {
  std::uint32_t needed = 0;
  os.security.GetFileSecurity(path, kOwnerGroupDacl, nullptr, 0, &needed);
  if (needed == 0) return std::nullopt;
  std::vector<std::byte> descriptor(needed);
  std::string sddl;
  if (!os.security.GetFileSecurity(path, kOwnerGroupDacl, descriptor.data(), needed, &needed) ||
      !os.security.ConvertSecurityDescriptorToSddl(descriptor.data(), kOwnerGroupDacl, &sddl))
    return std::nullopt;
  return sddl;
}

std::vector<std::pair<std::string, std::string>> CaptureSecurity(
    platform::Platform& os, const std::vector<std::string>& paths) {
  std::vector<std::pair<std::string, std::string>> found;
  std::string sddl;
  for (const char* path : {kConfigKeyPath, kLauncherKeyPath}) {
    platform::UniqueRegKey key(os.registry);
    if (os.registry.RegOpenKeyEx(platform::kHKeyLocalMachine, path,
                                 platform::kKeyRead | platform::kKeyWow64_64Key,
                                 key.receive()) != 0)
      continue;
    void* dacl = nullptr;
    LocalBlock descriptor(os.security);
    if (os.registry.GetKeySecurityInfo(key.get(), kOwnerGroupDacl, &dacl, descriptor.receive()) ==
            0 &&
        os.security.ConvertSecurityDescriptorToSddl(descriptor.get(), kOwnerGroupDacl, &sddl))
      found.emplace_back(std::string("HKLM\\") + path, sddl);
  }
  for (const std::string& path : paths) {
    if (os.files.GetFileAttributes(path) == platform::kInvalidFileAttributes) continue;
    if (auto sddl = FileSddl(os, path)) found.emplace_back(path, std::move(*sddl));
  }
  return found;
}

}  // namespace snapshot
