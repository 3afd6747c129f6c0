// Arbitrary texts of a workstation (a value's name, type and data, the computer's
// and the user's names, a file's path) written by the snapshot: the machine folder
// it writes must load, and registry.reg must read back to the same text. A refusal,
// an exception, a crash or a drift is a fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sim/fault_injector.h"
#include "platform/sim/machine.h"
#include "platform/sim/registry_tree.h"
#include "snapshot/machine_ini_text.h"
#include "snapshot/registry_text.h"

namespace {

// The input's parts between 0xFF bytes.
std::vector<std::string> Parts(std::string_view text) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (static_cast<unsigned char>(c) == 0xFF)
      parts.emplace_back();
    else
      parts.back() += c;
  }
  parts.resize(std::max<std::size_t>(parts.size(), 5));
  return parts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> parts = Parts({reinterpret_cast<const char*>(data), size});
  const std::uint32_t type = parts[1].empty() ? 1 : static_cast<unsigned char>(parts[1][0]);
  snapshot::RegistryKeyRecord key{"HKEY_LOCAL_MACHINE\\SOFTWARE\\Veltrix Solutions Inc.", false,
                                  {{parts[0], type, {parts[2].begin(), parts[2].end()}}}};
  const std::string text = snapshot::RegistryText({key});
  if (sim::WriteRegistryText(sim::ParseRegistryText(text, "registry.reg")) != text) std::abort();

  snapshot::MachineRecord record;
  record.computer_name = parts[3];
  record.user_name = parts[3];
  record.cpu_brand = parts[4];
  record.launcher_path = "C:\\Portavel\\Tavix.exe";
  record.folders = {{"windows", parts[4]}};
  sim::ParseMachineIni(snapshot::MachineIniText(record), "machine.ini", sim::KnownOperations());
  return 0;
}
