// Arbitrary bytes as registry.reg: the reader either builds a tree or refuses the
// file with MachineFolderError. A tree it builds, written out, must read back and
// write the same text again: registry.reg is rewritten on every run, and it must
// not drift. Any other exception, a crash or a drift is a fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "platform/sim/machine_folder_error.h"
#include "platform/sim/registry_tree.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::optional<sim::RegistryTree> tree;
  try {
    tree.emplace(sim::ParseRegistryText(text, "registry.reg"));
  } catch (const sim::MachineFolderError&) {
    return 0;  // a malformed file, refused as it should be
  }
  const std::string once = sim::WriteRegistryText(*tree);
  // The writer's own text must be accepted: an exception escaping here is a fault.
  const std::string twice = sim::WriteRegistryText(sim::ParseRegistryText(once, "registry.reg"));
  if (twice != once) std::abort();
  return 0;
}
