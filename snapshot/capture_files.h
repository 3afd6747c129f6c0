// Copies files of the workstation into the snapshot's drives/ folder.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "snapshot/denials.h"
#include "snapshot/snapshot_output.h"

namespace snapshot {

// Files up to this size are copied; larger ones become zero-filled files of their
// size, except the install archive, which is copied whole.
inline constexpr std::uint64_t kCopiedFileBytes = 64 * 1024;

class FileCapture {
 public:
  // A folder listing that fails goes to `denials`: the simulated machine checks no
  // listing against a descriptor, so only a failure rule reproduces it.
  FileCapture(platform::Platform& os, SnapshotOutput& out, Denials& denials)
      : os_(os), out_(out), denials_(denials) {}

  // A folder with everything below it; nothing when it does not exist.
  void Tree(std::string_view folder);
  // A folder without its contents, so that the launcher finds it; nothing when it
  // does not exist.
  void EmptyFolder(std::string_view folder);
  // One file; nothing when it does not exist.
  void File(std::string_view path);

  // The files' version resources, by Windows path.
  const std::vector<std::pair<std::string, std::string>>& versions() const { return versions_; }

 private:
  void Walk(const std::string& folder, int depth);
  bool Folder(const std::string& path);
  void Copy(const std::string& path);

  platform::Platform& os_;
  SnapshotOutput& out_;
  Denials& denials_;
  std::vector<std::pair<std::string, std::string>> versions_;
  std::size_t entries_ = 0;
  std::set<std::string> copied_;  // upper-cased paths, each file copied once
};

// A name Windows allows in a folder: no separators, wildcards or control characters.
bool IsPlainName(std::string_view name);

// "drives/C/Portavel/x.dll" for "C:\Portavel\x.dll"; empty for a path not on a drive.
std::string DrivePath(std::string_view windows_path);

}  // namespace snapshot
