// Simulated workstation: the programs started through the shell, from their start
// until the launcher lets go of them. Each gets its processes.log line then, when
// the launcher closes the process handle (or at the end of the run), because the
// line tells whether the launcher waited for the program and how it had ended.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "platform/processes.h"
#include "platform/sim/journal.h"
#include "platform/sim/virtual_clock.h"

namespace sim {

struct StartedProgram {
  std::string verb;
  std::string file;
  std::string parameters;
  std::uint16_t show = 0;
  // The virtual clock's elapsed milliseconds at which the program exits; none for a
  // program that is recorded and not run, which never ends.
  std::optional<std::uint64_t> ends_at;
  std::uint32_t exit_code = 0;
  bool waited = false;  // the launcher waited for it
};

class StartedPrograms {
 public:
  StartedPrograms(const Journal& journal, const VirtualClock& clock)
      : journal_(journal), clock_(clock) {}
  ~StartedPrograms();
  StartedPrograms(const StartedPrograms&) = delete;
  StartedPrograms& operator=(const StartedPrograms&) = delete;

  // A new process handle: every process of the run, however started, takes one
  // from here, so that no two share a handle.
  platform::Handle NewHandle();

  platform::Handle Start(StartedProgram program);

  // The program of a process handle, or null.
  StartedProgram* Find(platform::Handle process);

  // Its exit code now, or STILL_ACTIVE while it runs.
  std::uint32_t ExitCode(const StartedProgram& program) const;

  // The launcher closed the handle: the program's line is written.
  void Close(platform::Handle process);

 private:
  void Record(const StartedProgram& program) const;

  const Journal& journal_;
  const VirtualClock& clock_;
  std::map<platform::Handle, StartedProgram> running_;
  // Process handles are multiples of 4, as on Windows, below the file handles.
  platform::Handle next_handle_ = 0x2000;
};

}  // namespace sim
