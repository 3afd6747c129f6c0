// One launcher run on a machine folder in a child process of its own, so that a crash,
// a hang or a sanitizer report ends that run only and is seen from outside.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace sweep {

struct RunOutcome {
  bool exited = false;   // ended by its own exit, not by a signal or the hang alarm
  int exit_status = -1;  // the launcher's exit code modulo 256, when exited
  std::string errors;    // what reached standard error: sanitizer reports, aborts
  std::map<std::string, std::uint32_t> calls;  // calls per platform operation
};

// How long a run may take before it counts as hung.
inline constexpr unsigned kRunSeconds = 60;

RunOutcome RunIsolated(const std::filesystem::path& machine_folder, std::string_view command_line);

}  // namespace sweep
