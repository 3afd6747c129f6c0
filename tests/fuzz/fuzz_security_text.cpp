// Arbitrary bytes as security.txt: the reader either builds a table or refuses the
// file with MachineFolderError. Every object it read has its own descriptor, and
// the table written out reads back to the same text. Any other exception, a crash
// or a difference is a fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "platform/sim/machine_folder_error.h"
#include "platform/sim/security_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::optional<sim::SecurityTable> table;
  try {
    table.emplace(sim::ParseSecurityText(text, "security.txt"));
  } catch (const sim::MachineFolderError&) {
    return 0;  // a malformed file, refused as it should be
  }
  for (const sim::SecurityTable::Entry& entry : table->entries()) {
    if (table->Own(entry.object) != entry.sddl) std::abort();
    if (table->Effective(entry.object) != entry.sddl) std::abort();
  }
  static_cast<void>(table->Effective(text));
  const std::string once = sim::WriteSecurityText(*table);
  const std::string twice = sim::WriteSecurityText(sim::ParseSecurityText(once, "security.txt"));
  if (twice != once) std::abort();
  return 0;
}
