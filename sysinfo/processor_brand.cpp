// The processor's brand string.
#include "sysinfo/processor_brand.h"

#include <cstring>

#include "base/launcher.h"

namespace {

constexpr std::uint32_t kFirstExtendedLeaf = 0x80000000;
constexpr std::uint32_t kFirstBrandLeaf = 0x80000002;
constexpr std::uint32_t kLastBrandLeaf = 0x80000004;
constexpr std::size_t kBrandBytes = 48;

}  // namespace

void ReadProcessorBrand(Launcher& l, FixedString<64>& brand) {
  brand.clear();
  const std::uint32_t highest = l.os.system_info.Cpuid(kFirstExtendedLeaf).eax;
  if (highest < kFirstExtendedLeaf) return;
  char bytes[kBrandBytes] = {};
  // Every extended leaf up to the highest is executed; the brand leaves are kept. The
  // second test ends the walk when the leaf number wraps after 0xFFFFFFFF.
  for (std::uint32_t leaf = kFirstExtendedLeaf; leaf <= highest && leaf >= kFirstExtendedLeaf;
       ++leaf) {
    const platform::CpuidRegisters r = l.os.system_info.Cpuid(leaf);
    if (leaf < kFirstBrandLeaf || leaf > kLastBrandLeaf) continue;
    char* part = bytes + (leaf - kFirstBrandLeaf) * 16;
    std::memcpy(part, &r.eax, 4);
    std::memcpy(part + 4, &r.ebx, 4);
    std::memcpy(part + 8, &r.ecx, 4);
    std::memcpy(part + 12, &r.edx, 4);
  }
  brand.assign_cut(std::string_view(bytes, strnlen(bytes, kBrandBytes)));
}
