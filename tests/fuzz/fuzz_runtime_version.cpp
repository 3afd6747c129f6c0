// Arbitrary bytes as a VC runtime's "Version" registry text, and as the extra installer
// options: the comparison must never crash, must ignore letters before the first
// number ("v14.40..." reads as "14.40..."), and an installer command line must stay
// within its 260 characters with no double quote of the options in it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "deps/redist_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const bool current = RuntimeVersionIsCurrent(text);
  // A letter in front of a first field that starts the text changes nothing.
  if (!text.empty() && text.front() != '.' && RuntimeVersionIsCurrent("v" + std::string(text)) != current)
    std::abort();

  for (InstallerKind kind : {InstallerKind::VcRuntime, InstallerKind::NetFramework}) {
    CommandLine line;
    if (!BuildInstallerCommandLine(kind, "C:\\Users\\clerk\\AppData\\Local\\Norvane\\Portavel\\_tcache1",
                                   "vc_redist.x86.exe", text, line))
      continue;
    const std::string_view built = line.view();
    if (built.size() >= 260) std::abort();
    // The log path's two quotes, and two around the options when they are there.
    const auto quotes = std::count(built.begin(), built.end(), '"');
    if (quotes != 2 && quotes != 4) std::abort();
  }
  return 0;
}
