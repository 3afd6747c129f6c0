// Simulated workstation: the launcher's own module and the programs it starts,
// recorded in processes.log.
#pragma once

#include "platform/processes.h"
#include "platform/sim/sim_state.h"

namespace sim {

class SimProcesses : public platform::Processes {
 public:
  explicit SimProcesses(SimState& state) : s_(state) {}

  bool GetModuleFileName(std::string* path) override;
  bool CreateProcess(const platform::ProcessStart& start, platform::ProcessHandles* handles) override;

 private:
  SimState& s_;
  platform::Handle next_handle_ = 0x2000;
};

}  // namespace sim
