// The examples of docs/workstation.md are files the simulated workstation reads: every
// fenced block that is a piece of machine.ini, registry.reg or security.txt loads.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/sim/fault_injector.h"
#include "platform/sim/machine.h"
#include "platform/sim/machine_folder_error.h"
#include "platform/sim/registry_tree.h"
#include "platform/sim/security_table.h"
#include "tests/support/test_workstation.h"

namespace {

// The fenced blocks of a Markdown text, without their fences.
std::vector<std::string> FencedBlocks(const std::string& text) {
  std::vector<std::string> blocks;
  std::istringstream lines(text);
  std::string line, block;
  bool inside = false;
  while (std::getline(lines, line)) {
    if (line.rfind("```", 0) == 0) {
      if (inside) blocks.push_back(block);
      inside = !inside;
      block.clear();
    } else if (inside) {
      block += line + "\n";
    }
  }
  return blocks;
}

TEST(WorkstationDoc, EveryFileExampleLoads) {
  const std::string text = test_support::ReadText(PORTAVEL_SOURCE_DIR "/docs/workstation.md");
  ASSERT_FALSE(text.empty());
  int machine_ini = 0, registry = 0, security = 0;
  for (const std::string& block : FencedBlocks(text)) {
    try {
      if (block.rfind("Windows Registry Editor", 0) == 0) {
        sim::ParseRegistryText(block, "registry.reg");
        ++registry;
      } else if (block.rfind("[", 0) == 0) {
        sim::ParseMachineIni(block, "machine.ini", sim::KnownOperations());
        ++machine_ini;
      } else if (block.find('\t') != std::string::npos) {
        sim::ParseSecurityText(block, "security.txt");
        ++security;
      }
    } catch (const sim::MachineFolderError& error) {
      ADD_FAILURE() << error.what() << "\n" << block;
    }
  }
  // The pages' examples: [versions], [files], [network] and [fail]; one registry; one table.
  EXPECT_EQ(machine_ini, 4);
  EXPECT_EQ(registry, 1);
  EXPECT_EQ(security, 1);
}

}  // namespace
