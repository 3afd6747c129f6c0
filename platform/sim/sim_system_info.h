// Simulated workstation: the system's own facts from machine.ini ([os], [machine],
// [launcher] bits, [folders]).
#pragma once

#include <string_view>

#include "platform/sim/sim_state.h"
#include "platform/system_info.h"

namespace sim {

class SimSystemInfo : public platform::SystemInformation {
 public:
  // The operations a machine's [fail] section may name. GetSystemInfo,
  // GetNativeSystemInfo and the processor identification instruction cannot fail.
  static constexpr std::string_view kOperations[] = {
      "GetVersionEx",         "VerifyVersionInfo",      "GetModuleHandle", "GetProcAddress",
      "GetProductInfo",       "IsWow64Process",         "GetComputerName", "GlobalMemoryStatusEx",
      "SHGetKnownFolderPath", "GetEnvironmentVariable",
  };

  explicit SimSystemInfo(SimState& state) : s_(state) {}

  bool GetVersionEx(platform::OsVersionRecord* version) override;
  bool VerifyVersionInfo(const platform::VersionCondition& condition) override;
  platform::FunctionLookup FindKernelFunction(platform::KernelFunction function) override;
  bool GetProductInfo(std::uint32_t major, std::uint32_t minor, std::uint32_t service_pack_major,
                      std::uint32_t service_pack_minor, std::uint32_t* product_type) override;
  bool IsWow64Process(bool* wow64) override;
  bool Is64BitProcess() override { return s_.LauncherIs64Bit(); }
  platform::ProcessorRecord GetSystemInfo() override;
  platform::ProcessorRecord GetNativeSystemInfo() override;
  platform::CpuidRegisters Cpuid(std::uint32_t leaf) override;
  bool GetComputerName(std::string* name) override;
  bool GlobalMemoryStatusEx(platform::MemoryTotals* totals) override;
  std::int32_t SHGetKnownFolderPath(platform::KnownFolder folder, std::string* path) override;
  bool GetEnvironmentVariable(std::string_view name, std::string* value) override;

 private:
  SimState& s_;
};

}  // namespace sim
