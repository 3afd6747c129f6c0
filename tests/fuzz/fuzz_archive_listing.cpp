// Arbitrary bytes as the start of an install archive: the snapshot's listing either
// gives records whose texts stay within their fields or nothing. A crash or a text
// longer than its field is a fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "install/tab_format.h"
#include "snapshot/archive_listing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  for (const auto& entry : snapshot::ParseArchiveListing({data, size}))
    if (entry.name.size() >= kTABFileNameBytes || entry.destination.size() >= kTABDestinationBytes)
      std::abort();
  return 0;
}
