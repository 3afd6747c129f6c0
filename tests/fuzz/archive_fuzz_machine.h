// A simulated workstation shared by the archive fuzz targets: created once in a
// temporary folder, removed at exit. Each input becomes its tsystem0.dll.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/files.h"
#include "platform/sim/sim_platform.h"

namespace archive_fuzz {

class FuzzMachine {
 public:
  FuzzMachine() {
    folder_ = std::filesystem::temp_directory_path() /
              ("portavel-fuzz-archive-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_ / "drives" / "C" / "Portavel");
    std::ofstream(folder_ / "machine.ini") << "[machine]\nclock = 2026-12-06T08:30:00\nutc_offset = -300\n";
    workstation_ = sim::SimWorkstation::Load(folder_);
  }
  ~FuzzMachine() {
    workstation_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  platform::Platform& platform() { return workstation_->platform(); }

  // Writes the archive and returns its size. An input whose first byte is odd has
  // the magic put in front of its other bytes, so that most inputs get past the
  // first check.
  std::size_t PutArchive(const std::uint8_t* data, std::size_t size) {
    std::error_code ignored;
    std::filesystem::remove(folder_ / "stdout.log", ignored);  // it would only grow
    std::string bytes;
    if (size > 0 && (data[0] & 1)) {
      bytes = "TRACERFILE";
      bytes.append(reinterpret_cast<const char*>(data) + 1, size - 1);
    } else {
      bytes.assign(reinterpret_cast<const char*>(data), size);
    }
    std::ofstream(folder_ / "drives" / "C" / "Portavel" / "tsystem0.dll", std::ios::binary | std::ios::trunc)
        << bytes;
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
  std::filesystem::path folder_;
  std::unique_ptr<sim::SimWorkstation> workstation_;
};

}  // namespace archive_fuzz
