// Simulated workstation: Windows paths on the folder's drives/<LETTER>/ trees.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/sim/folder_entries.h"

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

  // Tells the folder listings that the simulated machine created or removed `host`.
  void Changed(const std::filesystem::path& host);

 private:
  struct Entry {
    std::string name;  // as the host spells it
    EntryKind kind;
    bool ambiguous;  // other names of the folder differ from it only in case
  };
  // A folder's entries by their names folded to lower case; of names that differ only
  // in case, the first listed.
  using Listing = std::unordered_map<std::string, Entry>;

  // The entry of `folder` named `part` without regard to case; nothing when missing.
  std::optional<Entry> Lookup(const std::filesystem::path& folder, const std::string& part) const;
  Listing& List(const std::filesystem::path& folder) const;

  std::filesystem::path root_;  // <machine folder>/drives
  // Folders listed so far, by host path: every path resolution below a folder would
  // otherwise list it or look at each component on the host again. Kept up to date by
  // Changed(); a name put there from outside since is found when spelt as on the host.
  mutable std::unordered_map<std::string, Listing> listings_;
  mutable std::optional<EntryKind> root_kind_;
};

}  // namespace sim
