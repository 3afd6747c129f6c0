// Writing the simulated workstation's registry and security table back.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/sim/sim_platform.h"
#include "tests/support/test_workstation.h"

namespace {

namespace fs = std::filesystem;

TEST(SimWorkstation, AWriteBackThatCannotBeDoneIsReportedAndFollowsNoLink) {
  test_support::Workstation w;
  test_support::Workstation outside;
  w.Write("machine.ini", "");
  outside.Write("kept.txt", "outside");
  auto workstation = sim::SimWorkstation::Load(w.root());
  EXPECT_TRUE(workstation->Save().empty());

  // Replaced while the run went on: a folder in the way, a link out.
  fs::remove(w.root() / "registry.reg");
  fs::create_directory(w.root() / "registry.reg");
  fs::remove(w.root() / "security.txt");
  fs::create_symlink(outside.root() / "kept.txt", w.root() / "security.txt");
  EXPECT_EQ(workstation->Save(), (std::vector<std::string>{"registry.reg", "security.txt"}));
  EXPECT_EQ(outside.Text("kept.txt"), "outside");
}

}  // namespace
