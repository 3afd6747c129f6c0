// Simulated workstation: Windows paths on the folder's drives/<LETTER>/ trees.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/types.h"

namespace sim {

class Drives {
 public:
  explicit Drives(std::filesystem::path machine_folder);

  // The host path of an absolute Windows path ("C:\Portavel\x.dll"), or of a
  // relative one against `current_directory`. Each component resolves
  // case-insensitively onto an existing entry; missing ones keep their case.
  // Empty when the path has no drive, names an unknown drive, or has a name
  // Windows refuses; `*error` then holds the Windows error. A path through or to a
  // symbolic link, a pipe, a device or a socket is refused with access denied (5).
  std::optional<std::filesystem::path> Resolve(std::string_view windows_path,
                                               std::string_view current_directory,
                                               platform::ErrorCode* error) const;

  // The Windows path normalised: backslashes, "." and ".." removed, drive in upper case.
  static std::optional<std::string> Normalize(std::string_view windows_path,
                                              std::string_view current_directory);

 private:
  std::filesystem::path root_;  // <machine folder>/drives
};

}  // namespace sim
