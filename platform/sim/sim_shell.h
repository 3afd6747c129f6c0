// Simulated workstation: programs started through the shell, with the consent
// prompt of "runas" answered as the machine's [ui] section says, and the COM library
// of the launcher's thread.
#pragma once

#include <array>
#include <map>
#include <string>
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
      "CoCreateInstance",
      "SetShellLinkField",
      "QueryInterface",
      "SaveShellLink",
  };

  explicit SimShell(SimState& state) : s_(state) {}

  bool ShellExecuteEx(const platform::ShellStart& start, platform::Handle* process) override;
  platform::HResult CoInitialize() override;
  void CoUninitialize() override;

  // Shell links (sim_shell_links.cpp), saved in the text form of a [Shortcut] file.
  platform::HResult CreateShellLink(platform::ShellLink* link) override;
  platform::HResult SetShellLinkField(platform::ShellLink link, platform::ShellLinkField field,
                                      std::string_view value) override;
  platform::HResult QueryPersistFile(platform::ShellLink link) override;
  platform::HResult SaveShellLink(platform::ShellLink link, std::string_view path) override;
  void ReleaseShellLink(platform::ShellLink link) override;

 private:
  SimState& s_;
  int com_initializations_ = 0;  // CoInitialize calls not yet undone
  // The fields of the links created and not released, by number.
  std::map<platform::ShellLink, std::array<std::string, 5>> links_;
  platform::ShellLink next_link_ = 0x7100;
};

}  // namespace sim
