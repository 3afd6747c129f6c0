// Where a snapshot goes: a machine folder, reached by paths relative to it with "/"
// between the parts ("drives/C/Portavel/Tavix.exe"), and a console for the report.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/files.h"
#include "snapshot/byte_source.h"

namespace snapshot {

class SnapshotOutput {
 public:
  virtual ~SnapshotOutput() = default;

  // A folder and the folders above it; true when it exists afterwards.
  virtual bool CreateFolder(std::string_view relative) = 0;

  // A file created or replaced with the bytes of `source`, followed by `zeros` zero
  // bytes, with that last-write time (UTC; 0 leaves the time of writing). Its folder
  // exists. False when it cannot be written or the source fails.
  virtual bool WriteFile(std::string_view relative, ByteSource& source, std::uint64_t zeros,
                         platform::FileTime last_write) = 0;

  // One line of the report of what was written.
  virtual void Report(std::string_view line) = 0;

  // Whether a Windows path of the captured machine is the output folder itself, which
  // a snapshot written below the launcher's folder must not copy into itself.
  virtual bool IsOutputFolder(std::string_view windows_path) const = 0;
};

}  // namespace snapshot
