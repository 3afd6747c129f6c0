// A snapshot written to a folder of the machine the snapshot runs on, through the
// platform's file operations.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"
#include "snapshot/snapshot_output.h"

namespace snapshot {

class PlatformFolderOutput : public SnapshotOutput {
 public:
  // `folder` is a full Windows path; the report goes to standard output.
  PlatformFolderOutput(platform::Platform& os, std::string_view folder)
      : os_(os), folder_(folder) {}

  bool CreateFolder(std::string_view relative) override;
  bool WriteFile(std::string_view relative, ByteSource& source, std::uint64_t zeros,
                 platform::FileTime last_write) override;
  void Report(std::string_view line) override;
  bool IsOutputFolder(std::string_view windows_path) const override;

 private:
  std::string PathOf(std::string_view relative) const;

  platform::Platform& os_;
  std::string folder_;
};

}  // namespace snapshot
