// A simulated workstation in a temporary folder for unit tests, loaded in this
// process: the launcher at C:\Portavel\Tavix.exe, a fixed clock, and whatever
// machine.ini lines a test adds; and a launcher with its logs open on one.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "base/launcher.h"
#include "diag/log.h"
#include "tests/support/test_workstation.h"

namespace unit {

using test_support::UnwrapDebugLog;

inline constexpr std::string_view kFolder = "C:\\Portavel\\";
inline constexpr std::string_view kDebugLog = "C:\\Portavel\\TavixDebug.log";
inline constexpr std::string_view kErrorLog = "C:\\Portavel\\TavixError.log";
inline constexpr std::string_view kPreloadLog = "C:\\Portavel\\TavixPreload.log";

class TestMachine : public test_support::Workstation {
 public:
  // `ini` is appended to a machine.ini that fixes the clock at 2026-12-06 08:30:00;
  // `registry` is the registry.reg (empty: an empty registry).
  explicit TestMachine(const std::string& ini = "", const std::string& registry = "") {
    Write("machine.ini", test_support::kMachineIni + ini);
    Write("registry.reg", registry);
    Load();
  }
  const std::filesystem::path& folder() const { return root(); }
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

// Logging levels of a LoggedRun.
inline constexpr int kNoLogging = 0, kDiagnostic = 1, kDeveloper = 100;

// A launcher of a test on a TestMachine, its version set and, at `level`, its logs
// open in C:\Portavel.
struct LoggedRun {
  explicit LoggedRun(const std::string& ini = "", int level = kDeveloper, const std::string& registry = "")
      : machine(ini, registry), l(machine.platform()) {
    SetLauncherVersion(l);
    if (level == kNoLogging) return;
    if (level >= kDeveloper) l.run.DeveloperDebugLogging = true;
    else l.run.DiagnosticLogging = true;
    OpenLogFiles(l, kFolder);
  }

  // The debug log's text, wrapped records joined, and the error log's text.
  std::string Debug() const { return UnwrapDebugLog(machine.File(kDebugLog).value_or("")); }
  std::string ErrorText() const { return machine.File(kErrorLog).value_or(""); }
  std::vector<test_support::Record> Records() const {
    return test_support::ParseDebugLog(test_support::SplitLines(machine.File(kDebugLog).value_or("")));
  }
  std::vector<std::string> Messages() const { return test_support::MessagesOf(Records()); }
  // The error log's messages.
  std::vector<std::string> Errors() const {
    return test_support::ErrorMessages(test_support::SplitLines(ErrorText()));
  }
  bool Logged(const std::string& message) const { return Count(message) > 0; }
  std::size_t Count(const std::string& message) const {
    const auto all = Messages();
    return static_cast<std::size_t>(std::count(all.begin(), all.end(), message));
  }
  // The depth of the first record with the message; -1 when there is none.
  int DepthOf(const std::string& message) const {
    for (const auto& r : Records())
      if (r.message == message) return static_cast<int>(r.depth);
    return -1;
  }
  // A journal of the machine folder (ui.log, processes.log, system.log).
  std::string Journal(const char* name) const { return machine.Text(name); }
  std::vector<std::string> JournalLines(const char* name) const { return machine.Lines(name); }

  TestMachine machine;
  Launcher l;
};

}  // namespace unit
