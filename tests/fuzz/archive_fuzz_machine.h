// A simulated workstation shared by the archive fuzz targets: created once in a
// temporary folder, removed at exit. Each input becomes its tsystem0.dll.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/files.h"
#include "tests/support/test_workstation.h"

namespace archive_fuzz {

class FuzzMachine {
 public:
  FuzzMachine() {
    machine_.Write("machine.ini", std::string(test_support::kMachineIni) + "utc_offset = -300\n");
    machine_.Load();
  }

  platform::Platform& platform() { return machine_.platform(); }

  // Writes the archive and returns its size. An input whose first byte is odd has
  // the magic put in front of its other bytes, so that most inputs get past the
  // first check.
  std::size_t PutArchive(const std::uint8_t* data, std::size_t size) {
    machine_.Write("stdout.log", "");  // it would only grow
    std::string bytes;
    if (size > 0 && (data[0] & 1)) {
      bytes = "TRACERFILE";
      bytes.append(reinterpret_cast<const char*>(data) + 1, size - 1);
    } else {
      bytes.assign(reinterpret_cast<const char*>(data), size);
    }
    machine_.WriteC("Portavel/tsystem0.dll", bytes);
    return bytes.size();
  }

  // A handle left open on the archive is a fault: it would keep everyone else out.
  void RequireArchiveClosed() {
    auto& os = platform();
    const platform::Handle probe = os.files.CreateFile("C:\\Portavel\\tsystem0.dll", platform::kGenericRead,
                                                       0, platform::kOpenExisting,
                                                       platform::kFileAttributeNormal);
    if (probe == platform::kInvalidHandle) std::abort();
    os.system.CloseHandle(probe);
  }

 private:
  test_support::Workstation machine_;
};

}  // namespace archive_fuzz
