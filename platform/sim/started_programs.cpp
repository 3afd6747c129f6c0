// Simulated workstation: the programs started through the shell.
#include "platform/sim/started_programs.h"

namespace sim {

StartedPrograms::~StartedPrograms() {
  // Handles the launcher never closed: the lines are written as the run ends.
  for (const auto& [handle, program] : running_) Record(program);
}

platform::Handle StartedPrograms::NewHandle() {
  const platform::Handle handle = next_handle_;
  next_handle_ += 4;
  return handle;
}

platform::Handle StartedPrograms::Start(StartedProgram program) {
  const platform::Handle handle = NewHandle();
  running_.emplace(handle, std::move(program));
  return handle;
}

StartedProgram* StartedPrograms::Find(platform::Handle process) {
  auto found = running_.find(process);
  return found == running_.end() ? nullptr : &found->second;
}

std::uint32_t StartedPrograms::ExitCode(const StartedProgram& program) const {
  if (!program.ends_at || clock_.ElapsedMilliseconds() < *program.ends_at)
    return platform::kStillActive;
  return program.exit_code;
}

void StartedPrograms::Close(platform::Handle process) {
  auto found = running_.find(process);
  if (found == running_.end()) return;
  Record(found->second);
  running_.erase(found);
}

void StartedPrograms::Record(const StartedProgram& program) const {
  // The result reads as the launcher's signed exit codes do (-1, not 4294967295).
  journal_.Append("SHELL verb=" + Quoted(program.verb) + " file=" + Quoted(program.file) +
                  " params=" + Quoted(program.parameters) +
                  " show=" + std::to_string(program.show) +
                  " wait=" + (program.waited ? "1" : "0") +
                  " result=" + std::to_string(static_cast<std::int32_t>(ExitCode(program))));
}

}  // namespace sim
