#include "snapshot/file_version.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace snapshot {

std::string FileVersion(platform::FileSystem& files, std::string_view path) {
  const std::uint32_t size = files.GetFileVersionInfoSize(path);
  std::vector<std::uint8_t> block;
  std::vector<std::uint8_t> fixed;
  // VS_FIXEDFILEINFO: the signature, the structure version, then the file version's
  // high and low words.
  if (size == 0 || !files.GetFileVersionInfo(path, size, block) ||
      !files.VerQueryValue(block, "\\", fixed) || fixed.size() < 16)
    return {};
  std::uint32_t high = 0;
  std::uint32_t low = 0;
  std::memcpy(&high, fixed.data() + 8, 4);
  std::memcpy(&low, fixed.data() + 12, 4);
  return std::to_string(high >> 16) + "." + std::to_string(high & 0xFFFF) + "." +
         std::to_string(low >> 16) + "." + std::to_string(low & 0xFFFF);
}

}  // namespace snapshot
