// Arbitrary bytes as machine.ini: the reader either describes a machine or refuses
// the file with MachineFolderError; any other exception or a crash is a fault.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/sim/fault_injector.h"
#include "platform/sim/machine.h"
#include "platform/sim/machine_folder_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const sim::Machine machine = sim::ParseMachineIni(text, "machine.ini", sim::KnownOperations());
    static_cast<void>(machine.Wow64());
  } catch (const sim::MachineFolderError&) {
    // A malformed file, refused as it should be.
  }
  return 0;
}
