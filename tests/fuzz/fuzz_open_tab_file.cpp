// Arbitrary bytes as tsystem0.dll: OpenTABFile either loads a record table that the
// file holds in full, with every text terminated inside its field, or refuses the
// archive; either way CloseTABFile leaves nothing open or allocated.
#include <cstdlib>
#include <cstring>

#include "archive_fuzz_machine.h"
#include "install/tab_file.h"
#include "base/launcher.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static archive_fuzz::FuzzMachine machine;
  const std::size_t archive_size = machine.PutArchive(data, size);
  Launcher l(machine.platform());
  l.log.DebugLevel = 100;  // every record is formatted, none is written
  TABHandle tHnd;
  if (OpenTABFile(l, tHnd)) {
    const std::uint32_t table = tHnd.FileCount * std::uint32_t{kTABRecordBytes};
    if (tHnd.FileCount == 0 || kTABHeaderBytes + table > archive_size ||
        tHnd.FilesArraySize != tHnd.FileCount * sizeof(TABFileRecord))
      std::abort();
    for (std::uint32_t i = 0; i < tHnd.FileCount; ++i) {
      if (std::memchr(tHnd.Files[i].FileName, 0, sizeof tHnd.Files[i].FileName) == nullptr ||
          std::memchr(tHnd.Files[i].Destination, 0, sizeof tHnd.Files[i].Destination) == nullptr)
        std::abort();
    }
  } else if (tHnd.hnd != platform::kInvalidHandle || tHnd.FilesArraySize != 0) {
    std::abort();
  }
  CloseTABFile(l, tHnd);
  machine.RequireArchiveClosed();
  return 0;
}
