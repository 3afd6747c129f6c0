// Arbitrary bytes as a security descriptor of security.txt: the reader either builds
// a descriptor or says why not; a descriptor it built, written out, reads back to the
// same text. Any exception, a crash or a difference is a fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/sim/access_check.h"
#include "platform/sim/sddl.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string error;
  auto descriptor = sim::ParseSddl(text, &error);
  if (!descriptor) {
    if (error.empty()) std::abort();
    return 0;
  }
  const std::string once = sim::FormatSddl(*descriptor);
  auto again = sim::ParseSddl(once, &error);
  if (!again || sim::FormatSddl(*again) != once) std::abort();
  const sim::AccessToken token{{"S-1-1-0", "S-1-5-32-545"}};
  static_cast<void>(sim::GrantedAccess(*again, 0, sim::ObjectKind::Folder, token));
  return 0;
}
