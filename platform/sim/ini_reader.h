// Simulated workstation: a plain INI reader for the machine folder's files.
//
// Sections "[name]", entries "key = value", comment lines starting with ';' or '#',
// blank lines; names and values trimmed of spaces and tabs. A value runs to the end
// of its line: ';' and '#' inside a value are part of it (CPU brands and paths may
// hold them). Section and key lookups ignore case. A section given twice continues
// the first; a key given twice in one section is refused, as is a key before the
// first section or a line that is none of these.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sim {

struct IniEntry {
  std::string key;
  std::string value;
  int line = 0;
};

struct IniSection {
  std::string name;
  int line = 0;                   // the line of its first header
  std::vector<IniEntry> entries;  // in file order

  const IniEntry* Find(std::string_view key) const;
};

struct IniDocument {
  std::vector<IniSection> sections;  // in file order

  const IniSection* Find(std::string_view name) const;
};

// Throws MachineFolderError naming `file_name` and the offending line.
IniDocument ReadIni(std::string_view text, const std::string& file_name);

}  // namespace sim
