// What a run leaves on a simulated workstation, for comparing runs: every file of its
// drives with bytes and time, the registry and the security table. The launcher's
// logs are left out (each run writes its own), and so are the backup sets, which
// record what earlier runs replaced rather than the machine's state.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace sweep {

struct FileFacts {
  std::string bytes;
  std::filesystem::file_time_type time;
};

struct MachineState {
  std::map<std::string, FileFacts> files;   // by path below drives/, '/' separated
  std::map<std::string, FileFacts> backups;  // the backup sets' files, likewise
  std::string registry;
  std::string security;
};

MachineState Capture(const std::filesystem::path& machine_folder);

// How `actual` differs from `expected`, one line per difference. A file time counts
// only when the expected one is older than `run_started`: a file the launcher writes
// without stamping it carries the host's moment of writing.
std::vector<std::string> Differences(const MachineState& expected, const MachineState& actual,
                                     std::filesystem::file_time_type run_started);

// The files of `before` that `after` lost: neither kept with their bytes, nor given
// the bytes the launcher's fault-free run gives them (`intended`), nor copied into a
// backup set under their own name; their paths.
std::vector<std::string> LostFiles(const MachineState& before, const MachineState& after,
                                   const MachineState& intended);

// The last part of a path below drives/.
std::string FileName(const std::string& relative);

// Copies a machine folder, file times included.
void CopyMachine(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace sweep
