// Simulated workstation: the launcher's own module and the programs it starts.
#include "platform/sim/sim_processes.h"

#include <cstdio>
#include <string>
#include <system_error>

#include "platform/error_codes.h"

namespace sim {
namespace {

using platform::kErrorInvalidHandle;

}  // namespace

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
  // Programs started this way (the product) are recorded, not run; the show command
  // and the creation flags tell how its window starts.
  char flags[16];
  std::snprintf(flags, sizeof flags, "0x%08x", static_cast<unsigned>(start.creation_flags));
  s_.processes_log.Append("CREATE app=" + Quoted(start.application) +
                          " cmdline=" + Quoted(start.command_line) +
                          " cwd=" + Quoted(start.current_directory) +
                          " show=" + std::to_string(start.show_window) + " flags=" + flags);
  handles->process = s_.programs.NewHandle();
  handles->thread = s_.programs.NewHandle();
  return true;
}

std::uint32_t SimProcesses::WaitForSingleObject(platform::Handle process,
                                                std::uint32_t milliseconds) {
  if (s_.Fails("WaitForSingleObject")) return platform::kWaitFailed;
  StartedProgram* program = s_.programs.Find(process);
  if (!program) {
    s_.last_error = kErrorInvalidHandle;
    return platform::kWaitFailed;
  }
  program->waited = true;
  if (program->ends_at) {
    const std::uint64_t now = s_.clock.ElapsedMilliseconds();
    const std::uint64_t left = *program->ends_at > now ? *program->ends_at - now : 0;
    if (left <= milliseconds) {
      s_.clock.Sleep(static_cast<std::uint32_t>(left));
      return platform::kWaitObject0;
    }
  }
  // The program outlasts the wait and is left running.
  s_.clock.Sleep(milliseconds);
  return platform::kWaitTimeout;
}

bool SimProcesses::GetExitCodeProcess(platform::Handle process, std::uint32_t* exit_code) {
  if (s_.Fails("GetExitCodeProcess")) return false;
  const StartedProgram* program = s_.programs.Find(process);
  if (!program) {
    s_.last_error = kErrorInvalidHandle;
    return false;
  }
  *exit_code = s_.programs.ExitCode(*program);
  return true;
}

}  // namespace sim
