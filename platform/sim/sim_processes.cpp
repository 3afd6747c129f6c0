// Simulated workstation: the launcher's own module and the programs it starts.
#include "platform/sim/sim_processes.h"

#include <system_error>

#include "platform/error_codes.h"

namespace sim {

bool SimProcesses::GetModuleFileName(std::string* path) {
  if (s_.Fails("GetModuleFileName")) return false;
  *path = s_.machine.launcher.path;
  return true;
}

bool SimProcesses::CreateProcess(const platform::ProcessStart& start,
                                 platform::ProcessHandles* handles) {
  if (s_.Fails("CreateProcess")) return false;
  auto host = s_.Resolve(start.application);
  if (!host) return false;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(*host, ec)) {
    s_.last_error = std::filesystem::is_directory(host->parent_path(), ec)
                        ? platform::kErrorFileNotFound
                        : platform::kErrorPathNotFound;
    return false;
  }
  // Programs started this way (the product) are recorded, not run.
  s_.processes_log.Append("CREATE app=" + Quoted(start.application) +
                          " cmdline=" + Quoted(start.command_line) +
                          " cwd=" + Quoted(start.current_directory));
  handles->process = next_handle_++;
  handles->thread = next_handle_++;
  return true;
}

}  // namespace sim
