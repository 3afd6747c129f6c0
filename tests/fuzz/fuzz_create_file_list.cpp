// Arbitrary bytes as tsystem0.dll: the listing writes a report or prints a problem,
// reads nothing past what it loaded, and leaves the archive closed.
#include <cstdio>

#include "archive_fuzz_machine.h"
#include "install/file_list.h"
#include "base/launcher.h"

// The problems printed for most inputs would flood the fuzzer's output.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (std::freopen("/dev/null", "w", stdout) == nullptr) return 1;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static archive_fuzz::FuzzMachine machine;
  machine.PutArchive(data, size);
  Launcher l(machine.platform());
  CreateFileList(l);
  machine.RequireArchiveClosed();
  return 0;
}
