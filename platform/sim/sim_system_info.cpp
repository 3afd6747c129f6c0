// Simulated workstation: the system's own facts.
#include "platform/sim/sim_system_info.h"

#include <algorithm>
#include <cstring>
#include <tuple>

#include "platform/error_codes.h"
#include "platform/sim/known_folder_paths.h"
#include "platform/sim/text_util.h"

namespace sim {
namespace {

constexpr platform::ErrorCode kErrorProcNotFound = 127;
constexpr platform::ErrorCode kErrorBufferOverflow = 111;
constexpr platform::ErrorCode kErrorEnvvarNotFound = 203;
constexpr platform::ErrorCode kErrorOldWinVersion = 1150;
constexpr std::uint32_t kVerPlatformWin32Nt = 2;
constexpr std::uint16_t kVerSuiteSingleUserTs = 0x0100;
constexpr std::uint32_t kFirstExtendedLeaf = 0x80000000;
constexpr std::uint32_t kFirstBrandLeaf = 0x80000002;
constexpr std::uint32_t kLastBrandLeaf = 0x80000004;
constexpr std::uint32_t kHighestExtendedLeaf = 0x80000008;

// The user-mode address space: 2 GB less 64 KB at each end for a 32-bit process
// without large addresses, 128 TB less the same for a 64-bit one.
constexpr std::uint64_t kVirtual32 = 0x7FFE0000ull;
constexpr std::uint64_t kVirtual64 = 0x7FFFFFFE0000ull;

// HRESULT_FROM_WIN32, keeping a value that already is an HRESULT.
std::int32_t HResultFromWin32(platform::ErrorCode error) {
  if (error & 0x80000000u) return static_cast<std::int32_t>(error);
  return static_cast<std::int32_t>((error & 0xFFFF) | 0x80070000u);
}

auto VersionOf(const OsFacts& os) {
  return std::make_tuple(os.major, os.minor, os.service_pack_major);
}

}  // namespace

bool SimSystemInfo::GetVersionEx(platform::OsVersionRecord* version) {
  if (s_.Fails("GetVersionEx")) return false;
  const OsFacts& os = s_.machine.os;
  version->major_version = os.major;
  version->minor_version = os.minor;
  version->build_number = os.build;
  version->platform_id = kVerPlatformWin32Nt;
  version->csd_version =
      os.service_pack_major ? "Service Pack " + std::to_string(os.service_pack_major) : "";
  version->service_pack_major = static_cast<std::uint16_t>(os.service_pack_major);
  version->service_pack_minor = static_cast<std::uint16_t>(os.service_pack_minor);
  version->suite_mask = kVerSuiteSingleUserTs;
  version->product_type = static_cast<std::uint8_t>(os.product_type);
  return true;
}

bool SimSystemInfo::VerifyVersionInfo(const platform::VersionCondition& condition) {
  if (s_.Fails("VerifyVersionInfo")) return false;
  const OsFacts& os = s_.machine.os;
  bool satisfied = false;
  if (condition.test == platform::VersionCondition::Test::AtLeast) {
    satisfied = VersionOf(os) >= std::make_tuple(condition.major, condition.minor,
                                                 std::uint32_t{condition.service_pack_major});
  } else {
    satisfied = static_cast<std::uint8_t>(os.product_type) == condition.product_type;
  }
  if (!satisfied) s_.last_error = kErrorOldWinVersion;
  return satisfied;
}

platform::FunctionLookup SimSystemInfo::FindKernelFunction(platform::KernelFunction function) {
  if (s_.Fails("GetModuleHandle")) return platform::FunctionLookup::NoModule;
  if (s_.Fails("GetProcAddress")) return platform::FunctionLookup::NoFunction;
  // IsWow64Process came with Windows XP SP2, GetProductInfo with Windows Vista.
  const OsFacts& os = s_.machine.os;
  const bool present = function == platform::KernelFunction::IsWow64Process
                           ? VersionOf(os) >= std::make_tuple(5u, 1u, 2u)
                           : os.major >= 6;
  if (present) return platform::FunctionLookup::Found;
  s_.last_error = kErrorProcNotFound;
  return platform::FunctionLookup::NoFunction;
}

bool SimSystemInfo::GetProductInfo(std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                                   std::uint32_t* product_type) {
  *product_type = 0;
  if (s_.Fails("GetProductInfo")) return false;
  *product_type = s_.machine.os.product_code;
  return true;
}

bool SimSystemInfo::IsWow64Process(bool* wow64) {
  if (s_.Fails("IsWow64Process")) return false;
  *wow64 = s_.machine.Wow64();
  return true;
}

platform::ProcessorRecord SimSystemInfo::GetSystemInfo() {
  const Machine& m = s_.machine;
  platform::ProcessorRecord record;
  // A 32-bit process under WOW64 sees the x86 architecture.
  record.architecture = m.Wow64() ? 0 : static_cast<std::uint16_t>(m.os.architecture);
  record.level = static_cast<std::uint16_t>(m.machine.processor_level);
  record.revision = static_cast<std::uint16_t>(m.machine.processor_revision);
  record.number_of_processors = m.machine.processors;
  return record;
}

platform::ProcessorRecord SimSystemInfo::GetNativeSystemInfo() {
  platform::ProcessorRecord record = GetSystemInfo();
  record.architecture = static_cast<std::uint16_t>(s_.machine.os.architecture);
  return record;
}

platform::CpuidRegisters SimSystemInfo::Cpuid(std::uint32_t leaf) {
  const std::string& brand = s_.machine.machine.cpu_brand;
  platform::CpuidRegisters registers;
  if (leaf == kFirstExtendedLeaf) {
    // A processor without a brand string reports no extended leaves beyond this one.
    registers.eax = brand.empty() ? kFirstExtendedLeaf : kHighestExtendedLeaf;
  } else if (leaf >= kFirstBrandLeaf && leaf <= kLastBrandLeaf && !brand.empty()) {
    // 16 bytes of the 48-byte, zero-padded brand string per leaf; a longer brand is cut.
    char bytes[16] = {};
    const std::size_t offset = (leaf - kFirstBrandLeaf) * 16;
    if (offset < brand.size())
      std::memcpy(bytes, brand.data() + offset, std::min<std::size_t>(16, brand.size() - offset));
    std::memcpy(&registers.eax, bytes, 4);
    std::memcpy(&registers.ebx, bytes + 4, 4);
    std::memcpy(&registers.ecx, bytes + 8, 4);
    std::memcpy(&registers.edx, bytes + 12, 4);
  }
  return registers;
}

bool SimSystemInfo::GetComputerName(std::string* name) {
  if (s_.Fails("GetComputerName")) return false;
  const std::string& computer = s_.machine.machine.computer_name;
  if (computer.size() >= 256) {
    s_.last_error = kErrorBufferOverflow;
    return false;
  }
  *name = computer;
  return true;
}

bool SimSystemInfo::GlobalMemoryStatusEx(platform::MemoryTotals* totals) {
  if (s_.Fails("GlobalMemoryStatusEx")) return false;
  totals->total_physical = s_.machine.machine.memory_bytes;
  totals->total_virtual = s_.LauncherIs64Bit() ? kVirtual64 : kVirtual32;
  return true;
}

std::int32_t SimSystemInfo::SHGetKnownFolderPath(platform::KnownFolder folder, std::string* path) {
  platform::ErrorCode error = 0;
  if (s_.Fails("SHGetKnownFolderPath", &error)) return HResultFromWin32(error);
  const std::string found = KnownFolderPath(s_.machine, folder);
  if (found.empty()) return HResultFromWin32(platform::kErrorFileNotFound);
  *path = found;
  return 0;
}

bool SimSystemInfo::GetEnvironmentVariable(std::string_view name, std::string* value) {
  if (s_.Fails("GetEnvironmentVariable")) return false;
  const auto appdata =
      EqualsIgnoreCase(name, "APPDATA") ? AppDataVariable(s_.machine) : std::nullopt;
  if (!appdata) {
    s_.last_error = kErrorEnvvarNotFound;
    return false;
  }
  // A value that does not fit the 260-character buffer is not copied.
  if (appdata->size() >= 260) {
    s_.last_error = platform::kErrorMoreData;
    return false;
  }
  *value = *appdata;
  return true;
}

}  // namespace sim
