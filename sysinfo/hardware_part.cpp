// The hardware part of the system information object: processor, workstation name,
// WOW64 state and memory.
#include <cinttypes>

#include "diag/log.h"
#include "base/launcher.h"
#include "sysinfo/processor_brand.h"
#include "sysinfo/system_info_parts.h"
#include "sysinfo/wow64.h"

namespace {

// Whole megabytes for the record line; 0 for at most one byte.
std::int64_t Megabytes(std::uint64_t bytes) {
  return bytes <= 1 ? 0 : static_cast<std::int64_t>(bytes >> 20);
}

}  // namespace

void LoadHardwarePart(Launcher& l) {
  SystemInfoObject& sys = l.sys;
  const platform::ProcessorRecord processor = l.os.system_info.GetSystemInfo();
  sys.SystemInfo.ProcessorArchitecture = processor.architecture;
  sys.SystemInfo.ProcessorLevel = processor.level;
  sys.SystemInfo.ProcessorRevision = processor.revision;
  sys.SystemInfo.NumberOfProcessors = processor.number_of_processors;

  ReadProcessorBrand(l, sys.CPUName);

  std::string computer;
  if (l.os.system_info.GetComputerName(&computer)) {
    sys.ComputerName.assign_cut(computer);
  } else {
    sys.ComputerName.assign_cut("Unknown Computer");
    ErrorLogText(l, "Unable to retrieve workstation name using GetComputerName().");
  }

  sys.IsWow64 = IsWow64(l);
  // The 32-bit launcher is never a 64-bit process; the 64-bit build is.
  sys.Is64BitProcess = l.os.system_info.Is64BitProcess();

  platform::MemoryTotals memory;
  if (l.os.system_info.GlobalMemoryStatusEx(&memory)) {
    sys.TotalPhysicalMemory = memory.total_physical;
    sys.TotalVirtualMemory = memory.total_virtual;
  } else {
    sys.TotalPhysicalMemory = 0;
    sys.TotalVirtualMemory = 0;
  }

  sys.HardwareLoaded = true;
  const unsigned revision = sys.SystemInfo.ProcessorRevision;
  DebugLog(l, "Detected CPU: %s (Level %u Model %u Stepping %u)", sys.CPUName.c_str(),
           static_cast<unsigned>(sys.SystemInfo.ProcessorLevel), revision >> 8, revision & 0xFF);
  WriteArchitectureRecord(l);
  DebugLog(l, "Detected Memory Capacity: %" PRId64 " MB Physical, %" PRId64 " MB Virtual (approx).",
           Megabytes(sys.TotalPhysicalMemory), Megabytes(sys.TotalVirtualMemory));
  DebugLog(l, "Detected workstation name: %s", sys.ComputerName.c_str());
}
