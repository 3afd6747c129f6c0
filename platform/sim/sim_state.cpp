// Simulated workstation: the state shared by the platform interfaces.
#include "platform/sim/sim_state.h"

#include "platform/error_codes.h"
#include "platform/sim/folder_entries.h"
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
      faults_log(folder / "faults.log"),
      programs(processes_log, clock),
      token(TokenOf(machine.user)),
      // A program starts in the folder it was started from; the launcher is
      // started by its shortcuts, which set its own folder.
      current_directory(FolderOf(machine.launcher.path)) {
  // [files] names each file where it really lies; a name that is not a file on the
  // drives marks nothing.
  for (const auto& [path, marks] : machine.files) {
    platform::ErrorCode error = 0;
    auto host = drives.Resolve(path, current_directory, &error);
    if (!host || KindOf(*host) != EntryKind::File) continue;
    if (marks.read_only) read_only.insert(*host);
    if (marks.locked) open_files.HoldElsewhere(*host);
  }
}

bool SimState::Fails(std::string_view operation, platform::ErrorCode* error, std::string_view subject) {
  auto injected = faults.Call(operation);
  if (!injected) return false;
  last_error = injected->error;
  if (error) *error = injected->error;
  JournalFault(operation, "error=" + std::to_string(injected->error), subject);
  return true;
}

std::optional<std::uint32_t> SimState::Transferable(std::string_view operation, std::uint32_t size) {
  auto injected = faults.Call(operation);
  if (!injected) return size;
  if (injected->short_transfer) {
    JournalFault(operation, "short", {});
    return size / 2;
  }
  last_error = injected->error;
  JournalFault(operation, "error=" + std::to_string(injected->error), {});
  return std::nullopt;
}

void SimState::JournalFault(std::string_view operation, const std::string& outcome, std::string_view subject) {
  std::string line = "FAIL " + std::string(operation) + " call=" +
                     std::to_string(faults.calls().find(operation)->second) + " " + outcome;
  if (!subject.empty()) line += " " + Quoted(subject);
  faults_log.Append(line);
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
