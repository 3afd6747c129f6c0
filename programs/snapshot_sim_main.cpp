// snapshot-sim: takes a snapshot of a simulated workstation, as TavixSnapshot.exe
// takes one of a real one.
//
//   snapshot-sim --machine IN OUT
//
// OUT receives the machine folder and lies outside IN, which is only read. Exit
// status 0, 1 when a file of OUT could not be written, 2 when IN is malformed or the
// arguments are wrong.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include "platform/sim/machine_folder_error.h"
#include "platform/sim/sim_platform.h"
#include "snapshot/host_folder_output.h"
#include "snapshot/take_snapshot.h"

namespace {

constexpr const char* kUsage =
    "usage: snapshot-sim --machine IN OUT\n"
    "\n"
    "Writes a machine folder of the simulated workstation IN into OUT, as\n"
    "TavixSnapshot.exe writes one of a real workstation.\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 || std::strcmp(argv[1], "--machine") != 0) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  std::unique_ptr<sim::SimWorkstation> workstation;
  try {
    workstation = sim::SimWorkstation::Load(argv[2]);
  } catch (const sim::MachineFolderError& error) {
    std::fprintf(stderr, "snapshot-sim: %s/%s\n", argv[2], error.what());
    return 2;
  }
  // A snapshot written into the machine it captures would copy itself.
  std::error_code error;
  const auto machine = std::filesystem::weakly_canonical(argv[2], error);
  const auto target = std::filesystem::weakly_canonical(argv[3], error);
  const auto [inside, rest] = std::mismatch(machine.begin(), machine.end(), target.begin(), target.end());
  if (error || inside == machine.end()) {
    std::fprintf(stderr, "snapshot-sim: %s: OUT must lie outside the machine folder\n", argv[3]);
    return 2;
  }
  std::filesystem::create_directories(argv[3], error);
  if (error) {
    std::fprintf(stderr, "snapshot-sim: %s: the folder cannot be created\n", argv[3]);
    return 1;
  }
  snapshot::HostFolderOutput out(argv[3], std::cout);
  return snapshot::TakeSnapshot(workstation->platform(), workstation->machine().launcher.path, out)
             ? 0
             : 1;
}
