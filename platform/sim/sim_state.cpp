// Simulated workstation: the state shared by the platform interfaces.
#include "platform/sim/sim_state.h"

#include "platform/error_codes.h"
#include "platform/sim/fs_redirection.h"
#include "platform/sim/known_folder_paths.h"

namespace sim {
namespace {

AccessToken TokenOf(const UserFacts& user) {
  AccessToken token;
  token.sids = {user.sid, "S-1-1-0", "S-1-5-32-545", "S-1-5-11", "S-1-5-4"};
  if (user.token_admin) token.sids.push_back("S-1-5-32-544");
  return token;
}

std::string FolderOf(const std::string& path) {
  std::size_t slash = path.rfind('\\');
  if (slash == std::string::npos) return "C:\\";
  return slash <= 2 ? path.substr(0, 3) : path.substr(0, slash);
}

}  // namespace

SimState::SimState(std::filesystem::path folder_path, Machine facts, RegistryTree tree,
                   SecurityTable table, bool real_sleep)
    : folder(std::move(folder_path)),
      machine(std::move(facts)),
      registry(std::move(tree)),
      security(std::move(table)),
      drives(folder),
      faults(machine.faults),
      clock(machine.machine.clock, machine.machine.utc_offset, real_sleep),
      ui_log(folder / "ui.log"),
      processes_log(folder / "processes.log"),
      system_log(folder / "system.log"),
      programs(processes_log, clock),
      token(TokenOf(machine.user)),
      // A program starts in the folder it was started from; the launcher is
      // started by its shortcuts, which set its own folder.
      current_directory(FolderOf(machine.launcher.path)) {}

bool SimState::Fails(std::string_view operation, platform::ErrorCode* error) {
  auto injected = faults.Call(operation);
  if (!injected) return false;
  last_error = *injected;
  if (error) *error = *injected;
  return true;
}

std::string SimState::Redirected(std::string_view windows_path) const {
  if (!machine.Wow64() || fs_redirection_disabled) return std::string(windows_path);
  auto normal = Drives::Normalize(windows_path, current_directory);
  if (!normal) return std::string(windows_path);
  return RedirectedPath(*normal, WindowsFolder(machine));
}

std::optional<std::filesystem::path> SimState::Resolve(std::string_view windows_path) {
  platform::ErrorCode error = 0;
  auto host = drives.Resolve(Redirected(windows_path), current_directory, &error);
  if (!host) last_error = error;
  return host;
}

bool SimState::MachineIs64Bit() const {
  const auto arch = machine.os.architecture;
  return arch == 6 || arch == 9 || arch == 12;
}

}  // namespace sim
