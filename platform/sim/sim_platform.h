// Simulated workstation: a Windows machine described by a folder.
//
// Load reads machine.ini, registry.reg and security.txt (refusing a malformed folder
// with MachineFolderError); the platform interfaces then act on the folder: files in
// drives/<LETTER>/, the registry and security table in memory until Save writes
// them back, journals appended to ui.log, processes.log and system.log.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/machine.h"

namespace sim {

struct SimOptions {
  bool real_sleep = false;  // pauses sleep for real as well as advancing the clock
};

class SimWorkstation {
 public:
  static std::unique_ptr<SimWorkstation> Load(const std::filesystem::path& folder,
                                              SimOptions options = {});
  virtual ~SimWorkstation() = default;

  virtual platform::Platform& platform() = 0;
  virtual const Machine& machine() const = 0;

  // Host path of a Windows path on one of the machine's drives (resolved
  // case-insensitively onto existing entries).
  virtual std::filesystem::path HostPath(std::string_view windows_path) const = 0;

  // Milliseconds the virtual clock has advanced since Load.
  virtual std::uint64_t ElapsedMilliseconds() const = 0;

  // How often each platform operation was called since Load, by its [fail] name:
  // what a fault sweep needs to name every call of a run.
  virtual std::map<std::string, std::uint32_t, CaseInsensitiveLess> CallCounts() const = 0;

  // Writes registry.reg and security.txt back; the names of those that could not be
  // written.
  virtual std::vector<std::string> Save() = 0;
};

}  // namespace sim
