// The running system's own facts: version and edition, processor, memory, the
// workstation's name, the WOW64 state of the launcher's process, the well-known
// folders and the environment. Every operation that can fail sets the system's last
// error (System::GetLastError) the way its Windows counterpart does; the operation
// names are the names by which a simulated machine's [fail] fails them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// OSVERSIONINFOEXA.
struct OsVersionRecord {
  std::uint32_t major_version = 0;
  std::uint32_t minor_version = 0;
  std::uint32_t build_number = 0;
  std::uint32_t platform_id = 0;
  std::string csd_version;  // the service-pack text, at most 127 characters
  std::uint16_t service_pack_major = 0;
  std::uint16_t service_pack_minor = 0;
  std::uint16_t suite_mask = 0;
  std::uint8_t product_type = 0;  // 1 workstation, 2 domain controller, 3 server
};

inline constexpr std::uint8_t kVerNtWorkstation = 1;

// One question put to VerifyVersionInfoA.
struct VersionCondition {
  enum class Test {
    // VER_MAJORVERSION, VER_MINORVERSION and VER_SERVICEPACKMAJOR, each greater or
    // equal, in that order of precedence.
    AtLeast,
    // VER_PRODUCT_TYPE equal.
    ProductTypeIs,
  };
  Test test = Test::AtLeast;
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint16_t service_pack_major = 0;
  std::uint8_t product_type = 0;
};

// SYSTEM_INFO as the process sees it: a 32-bit process under WOW64 sees x86 (0).
struct ProcessorRecord {
  std::uint16_t architecture = 0;  // 0 x86, 5 ARM, 6 IA64, 9 x64, 12 ARM64
  std::uint16_t level = 0;
  std::uint16_t revision = 0;
  std::uint32_t number_of_processors = 0;
};

// The totals of MEMORYSTATUSEX.
struct MemoryTotals {
  std::uint64_t total_physical = 0;
  std::uint64_t total_virtual = 0;  // the process's user-mode address space
};

// The four registers of the processor identification instruction.
struct CpuidRegisters {
  std::uint32_t eax = 0;
  std::uint32_t ebx = 0;
  std::uint32_t ecx = 0;
  std::uint32_t edx = 0;
};

// The known folders the launcher asks the shell for (the system's FOLDERID values).
enum class KnownFolder { Windows, System, SystemX86, LocalAppData, Programs, ProgramData, Fonts };

// kernel32 functions that older systems lack, found at run time.
enum class KernelFunction { IsWow64Process, GetProductInfo };
enum class FunctionLookup { Found, NoModule, NoFunction };

class SystemInformation {
 public:
  virtual ~SystemInformation() = default;

  // GetVersionExA with the extended record.
  virtual bool GetVersionEx(OsVersionRecord* version) = 0;

  // VerifyVersionInfoA with the condition mask VerSetConditionMask builds for the
  // question: true when the system satisfies it.
  virtual bool VerifyVersionInfo(const VersionCondition& condition) = 0;

  // GetModuleHandleA of kernel32 and GetProcAddress of the function.
  virtual FunctionLookup FindKernelFunction(KernelFunction function) = 0;

  // GetProductInfo, found at run time: the product type, 0 when the call fails.
  virtual bool GetProductInfo(std::uint32_t major, std::uint32_t minor,
                              std::uint32_t service_pack_major, std::uint32_t service_pack_minor,
                              std::uint32_t* product_type) = 0;

  // IsWow64Process of the current process, found at run time.
  virtual bool IsWow64Process(bool* wow64) = 0;

  // Whether the launcher itself is the 64-bit build: a fact of the build, no call.
  virtual bool Is64BitProcess() = 0;

  // GetSystemInfo; it cannot fail.
  virtual ProcessorRecord GetSystemInfo() = 0;

  // GetNativeSystemInfo: the machine's own processor, also under WOW64; it cannot fail.
  virtual ProcessorRecord GetNativeSystemInfo() = 0;

  // The processor identification instruction for one leaf; it cannot fail.
  virtual CpuidRegisters Cpuid(std::uint32_t leaf) = 0;

  // GetComputerNameA into a buffer of 256 characters.
  virtual bool GetComputerName(std::string* name) = 0;

  // GlobalMemoryStatusEx.
  virtual bool GlobalMemoryStatusEx(MemoryTotals* totals) = 0;

  // SHGetKnownFolderPath (no flags, no token) with the wide path converted to the
  // ANSI code page: its HRESULT, negative on failure.
  virtual std::int32_t SHGetKnownFolderPath(KnownFolder folder, std::string* path) = 0;

  // GetEnvironmentVariableA into a buffer of 260 characters: false when the variable
  // is missing, empty or does not fit.
  virtual bool GetEnvironmentVariable(std::string_view name, std::string* value) = 0;
};

}  // namespace platform
