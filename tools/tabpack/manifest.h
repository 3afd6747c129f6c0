// tabpack: the manifest, one line per file to pack.
//
//   # comment
//   NAME  DESTINATION  RULE  [TIME]
//
// Fields are separated by spaces or tabs; a NAME holding spaces stands in double
// quotes. DESTINATION is CUR, FON, WIN, SYS or S64 (any case). RULE is 101, 102, 103
// or 109, or its name: Different, Newer, Always, DoesNotExist, or INSTALL_DIFFERENT,
// INSTALL_NEWER, INSTALL_ALWAYS, INSTALL_DOES_NOT_EXIST (any case). TIME is the
// file's last-write time in UTC, "YYYY-MM-DDTHH:MM:SS[.mmm][Z]"; without it the
// packed file's own modification time is taken.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/tabpack/archive_layout.h"

namespace tabpack {

struct ManifestLine {
  int line_number = 0;
  std::string name;
  std::string destination;  // upper case
  std::uint32_t rule = 0;
  std::optional<UtcTime> time;
};

struct Manifest {
  std::vector<ManifestLine> lines;
  std::string error;  // "line N: ..." for the first line refused, or why it lists no file;
                      // empty when read whole
};

Manifest ParseManifest(std::string_view text);

// Why a record's name, destination or rule cannot go into an archive; empty when it can.
std::string CheckName(std::string_view name);
std::optional<std::string> DestinationCode(std::string_view text);
std::optional<std::uint32_t> InstallRule(std::string_view text);
// "Newer" for 102, and so on; empty for a rule outside the four.
std::string_view RuleName(std::uint32_t rule);

}  // namespace tabpack
