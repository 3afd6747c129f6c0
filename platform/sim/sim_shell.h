// Simulated workstation: programs started through the shell, with the consent
// prompt of "runas" answered as the machine's [ui] section says, and the COM library
// of the launcher's thread.
#pragma once

#include <string_view>

#include "platform/shell.h"
#include "platform/sim/sim_state.h"

namespace sim {

class SimShell : public platform::Shell {
 public:
  // The operations a machine's [fail] section may name.
  static constexpr std::string_view kOperations[] = {
      "ShellExecuteEx",
      "CoInitialize",
  };

  explicit SimShell(SimState& state) : s_(state) {}

  bool ShellExecuteEx(const platform::ShellStart& start, platform::Handle* process) override;
  platform::HResult CoInitialize() override;
  void CoUninitialize() override;

 private:
  SimState& s_;
  int com_initializations_ = 0;  // CoInitialize calls not yet undone
};

}  // namespace sim
