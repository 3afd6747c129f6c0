// A simulated workstation in a temporary folder for unit tests: the launcher
// at C:\Portavel\Tavix.exe, a fixed clock, and whatever machine.ini lines a test adds.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <unistd.h>

#include "base/launcher.h"
#include "platform/sim/sim_platform.h"

namespace unit {

inline constexpr std::string_view kFolder = "C:\\Portavel\\";
inline constexpr std::string_view kDebugLog = "C:\\Portavel\\TavixDebug.log";
inline constexpr std::string_view kErrorLog = "C:\\Portavel\\TavixError.log";
inline constexpr std::string_view kPreloadLog = "C:\\Portavel\\TavixPreload.log";

class TestMachine {
 public:
  // `ini` is appended to a machine.ini that fixes the clock at 2026-12-06 08:30:00;
  // `registry` is the registry.reg (empty: an empty registry).
  explicit TestMachine(const std::string& ini = "", const std::string& registry = "") {
    static std::atomic<int> counter{0};
    folder_ = std::filesystem::temp_directory_path() /
              ("portavel-diag-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_ / "drives" / "C" / "Portavel");
    Write(folder_ / "machine.ini", "[machine]\nclock = 2026-12-06T08:30:00\n" + ini);
    Write(folder_ / "registry.reg", registry);
    ws_ = sim::SimWorkstation::Load(folder_);
  }
  ~TestMachine() {
    ws_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  TestMachine(const TestMachine&) = delete;
  TestMachine& operator=(const TestMachine&) = delete;

  platform::Platform& platform() { return ws_->platform(); }
  const std::filesystem::path& folder() const { return folder_; }

  // The bytes of a file on the machine, or nothing when it does not exist.
  std::optional<std::string> File(std::string_view windows_path) const {
    return Read(ws_->HostPath(windows_path));
  }
  void PutFile(std::string_view windows_path, const std::string& bytes) const {
    Write(ws_->HostPath(windows_path), bytes);
  }
  // What the attached debugger received.
  std::string Debugger() const { return Read(folder_ / "debugger.log").value_or(""); }

 private:
  static void Write(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::optional<std::string> Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  std::filesystem::path folder_;
  std::unique_ptr<sim::SimWorkstation> ws_;
};

// The launcher's own version as the banner shows it.
inline void SetLauncherVersion(Launcher& l) {
  LibraryVersion& v = l.run.LauncherVersion;
  v.Major = 1;
  v.Minor = 2;
  v.Build = 3;
  v.Revision = 4;
  v.FileDescription.assign_cut("Portavel Desktop Launcher");
  v.LegalCopyright.assign_cut("Copyright (C) 2026 Veltrix Solutions Inc.");
}

// The start of every record written at 2026-12-06 08:30:00 with `tag`.
inline std::string Prefix(std::string_view tag, std::size_t depth = 0) {
  return "12/06/26 08:30:00 TAVIX " + std::string(tag) + " " + std::string(3 * depth, ' ');
}

}  // namespace unit
