// The machine and user facts of the run, loaded in five parts, each once, on demand.
#pragma once

#include <cstdint>

#include "base/fixed_string.h"

// The system's extended OS version record.
struct OsVersionInfo {
  std::uint32_t MajorVersion = 0;
  std::uint32_t MinorVersion = 0;
  std::uint32_t BuildNumber = 0;
  std::uint32_t PlatformId = 0;
  FixedString<128> CSDVersion;
  std::uint16_t ServicePackMajor = 0;
  std::uint16_t ServicePackMinor = 0;
  std::uint16_t SuiteMask = 0;
  std::uint8_t ProductType = 0;  // 1 workstation, 2 domain controller, 3 server
};

// The system's processor record.
struct ProcessorInfo {
  std::uint16_t ProcessorArchitecture = 0;  // 0 x86, 5 ARM, 6 IA64, 9 x64, 12 ARM64
  std::uint16_t ProcessorLevel = 0;
  std::uint16_t ProcessorRevision = 0;
  std::uint32_t NumberOfProcessors = 0;
};

struct SystemInfoObject {
  bool IsLoaded = false;
  bool IsWinXPSP3OrGreater = false;
  bool IsWin7OrGreater = false;
  bool IsWin7SP1OrGreater = false;
  bool IsWin10OrGreater = false;
  bool IsServer = false;
  bool IsSupportedOS = false;
  bool HasVersionInfo = false;
  OsVersionInfo VersionInfo;
  FixedString<64> OSName;
  std::uint32_t ProductCode = 0;
  FixedString<64> EditionName;
  bool HasEditionName = false;
  FixedString<32> CodeName;
  bool HasCodeName = false;
  bool HardwareLoaded = false;
  ProcessorInfo SystemInfo;
  FixedString<64> CPUName;
  FixedString<256> ComputerName;
  std::uint64_t TotalPhysicalMemory = 0;
  std::uint64_t TotalVirtualMemory = 0;
  bool IsWow64 = false;
  bool Is64BitProcess = false;
  bool NetworkLoaded = false;
  FixedString<16> IPAddress;
  bool UserLoaded = false;
  FixedString<256> UserName;
  bool IsUserLocalAdmin = false;
  bool IsUserDomainAdmin = false;
  bool AdminInvoked = false;
  bool IsUACEnabled = false;
  bool IsProcessElevated = false;
  bool ElevationDenied = false;
  std::uint32_t IntegrityLevel = 0;
  FixedString<32> IntegrityLevelName;
};
