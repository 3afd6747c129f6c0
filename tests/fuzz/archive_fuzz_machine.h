// A simulated workstation shared by the archive fuzz targets: created once in a
// temporary folder, removed at exit. Each input becomes its tsystem0.dll.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>

#include "tests/support/test_workstation.h"

namespace archive_fuzz {

struct FuzzMachine : test_support::Workstation {
  FuzzMachine() {
    Write("machine.ini", std::string(test_support::kMachineIni) + "utc_offset = -300\n");
    Load();
  }

  // Writes the archive and returns its size. An input whose first byte is odd has
  // the magic put in front of its other bytes, so that most inputs get past the
  // first check.
  std::size_t PutArchive(const std::uint8_t* data, std::size_t size) const {
    Write("stdout.log", "");  // it would only grow
    const char* bytes = reinterpret_cast<const char*>(data);
    const std::string archive = size > 0 && (data[0] & 1) ? "TRACERFILE" + std::string(bytes + 1, size - 1)
                                                          : std::string(bytes, size);
    WriteC("Portavel/tsystem0.dll", archive);
    return archive.size();
  }

  // A handle left open on the archive is a fault: it would keep everyone else out.
  void RequireArchiveClosed() {
    if (!IsClosed("C:\\Portavel\\tsystem0.dll")) std::abort();
  }
};

}  // namespace archive_fuzz
