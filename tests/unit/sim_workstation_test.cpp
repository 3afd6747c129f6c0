// Writing the simulated workstation's registry and security table back.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/sim/sim_platform.h"

namespace {

namespace fs = std::filesystem;

TEST(SimWorkstation, AWriteBackThatCannotBeDoneIsReportedAndFollowsNoLink) {
  const fs::path folder = fs::temp_directory_path() / ("portavel-save-" + std::to_string(::getpid()));
  const fs::path outside = fs::temp_directory_path() / ("portavel-save-outside-" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  std::ofstream(folder / "machine.ini") << "";
  std::ofstream(outside) << "outside";
  auto workstation = sim::SimWorkstation::Load(folder);
  EXPECT_TRUE(workstation->Save().empty());

  // Replaced while the run went on: a folder in the way, a link out.
  fs::remove(folder / "registry.reg");
  fs::create_directory(folder / "registry.reg");
  fs::remove(folder / "security.txt");
  fs::create_symlink(outside, folder / "security.txt");
  EXPECT_EQ(workstation->Save(), (std::vector<std::string>{"registry.reg", "security.txt"}));
  std::ifstream in(outside);
  std::string text;
  std::getline(in, text);
  EXPECT_EQ(text, "outside");

  workstation.reset();
  fs::remove_all(folder);
  fs::remove(outside);
}

}  // namespace
