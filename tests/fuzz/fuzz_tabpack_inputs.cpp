// Arbitrary bytes as a tabpack manifest and as an archive: the manifest reader and
// the archive checker accept or refuse them without crashing, and every message they
// give is printable text of a bounded length, whatever names the bytes hold. A
// control byte or an overlong message is a fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tools/tabpack/archive_reader.h"
#include "tools/tabpack/manifest.h"

namespace {

void CheckShown(const std::string& message) {
  if (message.size() > 400) std::abort();
  for (const char c : message)
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  CheckShown(tabpack::ParseManifest(bytes).error);
  for (const std::string& problem : tabpack::VerifyArchive(bytes, size)) CheckShown(problem);
  return 0;
}
