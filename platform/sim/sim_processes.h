// Simulated workstation: the launcher's own module and the programs it starts,
// recorded in processes.log. Waiting for a program advances the virtual clock by
// the time it runs, up to the wait's time-out.
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
      "WaitForSingleObject",
      "GetExitCodeProcess",
  };

  explicit SimProcesses(SimState& state) : s_(state) {}

  bool GetModuleFileName(std::string* path) override;
  bool CreateProcess(const platform::ProcessStart& start, platform::ProcessHandles* handles) override;
  std::uint32_t WaitForSingleObject(platform::Handle process, std::uint32_t milliseconds) override;
  bool GetExitCodeProcess(platform::Handle process, std::uint32_t* exit_code) override;

 private:
  SimState& s_;
};

}  // namespace sim
