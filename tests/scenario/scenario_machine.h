// Scenario tests: a machine folder built in a temporary folder, and launcher-sim run
// on it as a separate process, as a user or an acceptance test would run it.
#pragma once

#include <cstdio>

#include <gtest/gtest.h>

#include "tests/support/test_workstation.h"

namespace scenario {

using namespace test_support;

// A fresh Windows with the launcher's folder, the product's configuration location,
// and an archive whose one record is unused: a run finds nothing to install and
// nothing missing. A failed test leaves the folder for its reader.
class Machine : public Workstation {
 public:
  Machine() {
    fs::create_directories(C("ProgramData/Veltrix"));
    PutArchive({{}});
    Write("machine.ini", kMachineIni);
    Write("registry.reg", RegistryFile());
  }
  ~Machine() {
    if (!::testing::Test::HasFailure()) return;
    Keep();
    std::fprintf(stderr, "machine folder kept: %s\n", root().c_str());
  }

  static RunResult RunArgs(const std::vector<std::string>& args) { return RunLauncherSim(args); }
};

// The last line of the runner's output: "exit code N".
inline std::string LastLine(const std::string& out) {
  std::string text = out;
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text.substr(text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1);
}

}  // namespace scenario
