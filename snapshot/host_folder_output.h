// A snapshot written to a folder of the host, for the Linux runner and the tests.
#pragma once

#include <filesystem>
#include <ostream>

#include "snapshot/snapshot_output.h"

namespace snapshot {

class HostFolderOutput : public SnapshotOutput {
 public:
  HostFolderOutput(std::filesystem::path folder, std::ostream& report)
      : folder_(std::move(folder)), report_(report) {}

  bool CreateFolder(std::string_view relative) override;
  bool WriteFile(std::string_view relative, ByteSource& source, std::uint64_t zeros,
                 platform::FileTime last_write) override;
  void Report(std::string_view line) override;
  // The host folder is no folder of the simulated machine.
  bool IsOutputFolder(std::string_view) const override { return false; }

 private:
  // The host path of a relative path that stays inside the folder and passes through
  // no link; empty otherwise.
  std::filesystem::path Inside(std::string_view relative) const;

  std::filesystem::path folder_;
  std::ostream& report_;
};

}  // namespace snapshot
