// Simulated workstation: the launcher's own module and the programs it starts,
// recorded in processes.log.
#pragma once

#include <string_view>

#include "platform/processes.h"
#include "platform/sim/sim_state.h"

namespace sim {

class SimProcesses : public platform::Processes {
 public:
  // The operations a machine's [fail] section may name.
  static constexpr std::string_view kOperations[] = {
      "GetModuleFileName",
      "CreateProcess",
  };

  explicit SimProcesses(SimState& state) : s_(state) {}

  bool GetModuleFileName(std::string* path) override;
  bool CreateProcess(const platform::ProcessStart& start, platform::ProcessHandles* handles) override;

 private:
  SimState& s_;
  platform::Handle next_handle_ = 0x2000;
};

}  // namespace sim
