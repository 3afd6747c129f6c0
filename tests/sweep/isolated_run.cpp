#include "tests/sweep/isolated_run.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <sstream>

#include "launcher/win_main.h"
#include "platform/sim/machine_folder_error.h"
#include "platform/sim/sim_platform.h"

namespace sweep {
namespace {

// Closes a pipe end once.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { Close(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  void Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

std::string Drain(int fd) {
  std::string text;
  char buffer[4096];
  for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
  return text;
}

// The child: the launcher's run, then the call counts as "NAME COUNT" lines.
[[noreturn]] void RunChild(const std::filesystem::path& folder, std::string_view command_line, int counts_fd) {
  const int null = open("/dev/null", O_WRONLY);
  if (null >= 0) dup2(null, 1);  // the list mode's report
  alarm(kRunSeconds);
  std::unique_ptr<sim::SimWorkstation> workstation;
  try {
    workstation = sim::SimWorkstation::Load(folder);
  } catch (const sim::MachineFolderError& error) {
    std::fprintf(stderr, "machine folder refused: %s\n", error.what());
    _exit(2);
  }
  const int code = RunLauncher(workstation->platform(), command_line);
  for (const std::string& name : workstation->Save()) std::fprintf(stderr, "%s not written back\n", name.c_str());
  std::string counts;
  for (const auto& [operation, calls] : workstation->CallCounts())
    counts += operation + " " + std::to_string(calls) + "\n";
  if (write(counts_fd, counts.data(), counts.size()) != static_cast<ssize_t>(counts.size())) _exit(125);
  std::fflush(stderr);
  _exit(code & 0xFF);
}

}  // namespace

RunOutcome RunIsolated(const std::filesystem::path& machine_folder, std::string_view command_line) {
  int error_pipe[2], count_pipe[2];
  RunOutcome outcome;
  if (pipe(error_pipe) != 0) return outcome;
  Descriptor error_read(error_pipe[0]), error_write(error_pipe[1]);
  if (pipe(count_pipe) != 0) return outcome;
  Descriptor count_read(count_pipe[0]), count_write(count_pipe[1]);
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) return outcome;
  if (child == 0) {
    dup2(error_write.get(), 2);
    RunChild(machine_folder, command_line, count_write.get());
  }
  error_write.Close();
  count_write.Close();
  // The counts are a few lines that fit the pipe, so the child never waits on them
  // while its standard error is drained.
  outcome.errors = Drain(error_read.get());
  std::istringstream counts(Drain(count_read.get()));
  int status = 0;
  waitpid(child, &status, 0);
  outcome.exited = WIFEXITED(status);
  if (outcome.exited) outcome.exit_status = WEXITSTATUS(status);
  std::string operation;
  for (std::uint32_t calls; counts >> operation >> calls;) outcome.calls[operation] = calls;
  return outcome;
}

}  // namespace sweep
