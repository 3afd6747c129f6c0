// launcher-sim: runs the launcher once on a simulated workstation.
//
//   launcher-sim --machine DIR [--cmdline TEXT] [--real-sleep]
//
// The last line on standard output is "exit code N"; the exit status is N modulo 256.
// A malformed machine folder ends the runner with exit status 2 and one line on
// standard error, before the launcher starts. When registry.reg or security.txt
// cannot be written back after the run, the exit status is 3 and standard error
// names the file.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "launcher/win_main.h"
#include "platform/sim/machine_folder_error.h"
#include "platform/sim/sim_platform.h"

namespace {

constexpr const char* kUsage =
    "usage: launcher-sim --machine DIR [--cmdline TEXT] [--real-sleep]\n"
    "\n"
    "Runs the Tavix launcher once, as WinMain with TEXT as its command line (default\n"
    "empty), on the simulated Windows workstation described by the folder DIR.\n"
    "\n"
    "  --machine DIR   the machine folder (machine.ini, registry.reg, security.txt,\n"
    "                  drives/<LETTER>/); everything the launcher writes stays there\n"
    "  --cmdline TEXT  the launcher's command line, for example \"-d -i\" or \"list\"\n"
    "  --real-sleep    pause for real as well as advancing the virtual clock\n"
    "  --help          this text\n"
    "\n"
    "Exit status: the launcher's exit code modulo 256; 2 when the machine folder is\n"
    "malformed (the launcher does not start); 3 when registry.reg or security.txt\n"
    "could not be written back after the run.\n";

// The exit status of a run whose registry or security table was not written back.
constexpr int kWriteBackFailed = 3;

}  // namespace

int main(int argc, char** argv) {
  std::string machine_folder;
  std::string command_line;
  sim::SimOptions options;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (!std::strcmp(arg, "--help") || !std::strcmp(arg, "-h")) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (!std::strcmp(arg, "--machine") && i + 1 < argc) {
      machine_folder = argv[++i];
    } else if (!std::strcmp(arg, "--cmdline") && i + 1 < argc) {
      command_line = argv[++i];
    } else if (!std::strcmp(arg, "--real-sleep")) {
      options.real_sleep = true;
    } else {
      std::fprintf(stderr, "launcher-sim: unexpected argument \"%s\"\n%s", arg, kUsage);
      return 2;
    }
  }
  if (machine_folder.empty()) {
    std::fprintf(stderr, "launcher-sim: --machine DIR is required\n%s", kUsage);
    return 2;
  }

  std::unique_ptr<sim::SimWorkstation> workstation;
  try {
    workstation = sim::SimWorkstation::Load(machine_folder, options);
  } catch (const sim::MachineFolderError& error) {
    std::fprintf(stderr, "launcher-sim: %s/%s\n", machine_folder.c_str(), error.what());
    return 2;
  }
  int code = RunLauncher(workstation->platform(), command_line);
  const std::vector<std::string> not_saved = workstation->Save();
  std::printf("exit code %d\n", code);
  for (const std::string& name : not_saved)
    std::fprintf(stderr, "launcher-sim: %s/%s: could not be written back\n", machine_folder.c_str(),
                 name.c_str());
  return not_saved.empty() ? code & 0xFF : kWriteBackFailed;
}
