// Simulated workstation: the state that the platform interfaces share during a run.
#pragma once

#include <filesystem>
#include <set>
#include <string>

#include "platform/sim/access_check.h"
#include "platform/sim/drives.h"
#include "platform/sim/fault_injector.h"
#include "platform/sim/journal.h"
#include "platform/sim/machine.h"
#include "platform/sim/open_files.h"
#include "platform/sim/registry_tree.h"
#include "platform/sim/security_table.h"
#include "platform/sim/started_programs.h"
#include "platform/sim/virtual_clock.h"
#include "platform/types.h"

namespace sim {

struct SimState {
  SimState(std::filesystem::path folder_path, Machine facts, RegistryTree tree,
           SecurityTable table, bool real_sleep);

  std::filesystem::path folder;
  Machine machine;
  RegistryTree registry;
  SecurityTable security;
  Drives drives;
  FaultInjector faults;
  VirtualClock clock;
  Journal ui_log;
  Journal processes_log;
  Journal system_log;
  Journal faults_log;
  StartedPrograms programs;  // after the clock and processes_log it writes to
  OpenFiles open_files;
  AccessToken token;
  platform::ErrorCode last_error = 0;
  std::string current_directory;
  // Host paths of the files whose read-only attribute is set, for the run.
  std::set<std::filesystem::path> read_only;
  // Wow64DisableWow64FsRedirection is in force (a 32-bit launcher under WOW64 only).
  bool fs_redirection_disabled = false;

  // A failure injected for this call of `operation`, also set as the last error and
  // written to faults.log with the call's number and `subject` (the path it was given).
  bool Fails(std::string_view operation, platform::ErrorCode* error = nullptr, std::string_view subject = {});

  // Counts a call of a transfer (ReadFile, WriteFile) of `size` bytes: how many it may
  // move (half of them when injected short), or nothing when it fails, with the last
  // error set.
  std::optional<std::uint32_t> Transferable(std::string_view operation, std::uint32_t size);
  void JournalFault(std::string_view operation, const std::string& outcome, std::string_view subject);

  // Resolves a Windows path against the current folder, as the launcher's process
  // reaches it (WOW64 file-system redirection included); sets the last error on failure.
  std::optional<std::filesystem::path> Resolve(std::string_view windows_path);

  // The Windows path the launcher's process reaches for `windows_path`: redirected
  // from System32 to SysWOW64 while WOW64 redirection is on.
  std::string Redirected(std::string_view windows_path) const;

  bool LauncherIs64Bit() const { return machine.launcher.bits == 64; }
  bool MachineIs64Bit() const;
};

}  // namespace sim
