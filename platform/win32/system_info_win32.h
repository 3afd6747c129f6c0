// Windows side: version and edition, processor, memory, the workstation's name, the
// WOW64 state, the known folders and the environment.
#pragma once

#include "platform/system_info.h"
#include "platform/win32/windows_api.h"

namespace win32 {

class Win32SystemInfo final : public platform::SystemInformation {
 public:
  bool GetVersionEx(platform::OsVersionRecord* version) override;
  bool VerifyVersionInfo(const platform::VersionCondition& condition) override;
  platform::FunctionLookup FindKernelFunction(platform::KernelFunction function) override;
  bool GetProductInfo(std::uint32_t major, std::uint32_t minor, std::uint32_t service_pack_major,
                      std::uint32_t service_pack_minor, std::uint32_t* product_type) override;
  bool IsWow64Process(bool* wow64) override;
  bool Is64BitProcess() override { return sizeof(void*) == 8; }
  platform::ProcessorRecord GetSystemInfo() override;
  platform::ProcessorRecord GetNativeSystemInfo() override;
  platform::CpuidRegisters Cpuid(std::uint32_t leaf) override;
  bool GetComputerName(std::string* name) override;
  bool GlobalMemoryStatusEx(platform::MemoryTotals* totals) override;
  std::int32_t SHGetKnownFolderPath(platform::KnownFolder folder, std::string* path) override;
  bool GetEnvironmentVariable(std::string_view name, std::string* value) override;
};

}  // namespace win32
