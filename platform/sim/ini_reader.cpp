// Simulated workstation: a plain INI reader for the machine folder's files.
#include "platform/sim/ini_reader.h"

#include "platform/sim/machine_folder_error.h"
#include "platform/sim/text_lines.h"
#include "platform/sim/text_util.h"

namespace sim {

const IniEntry* IniSection::Find(std::string_view key) const {
  for (const IniEntry& entry : entries)
    if (EqualsIgnoreCase(entry.key, key)) return &entry;
  return nullptr;
}

const IniSection* IniDocument::Find(std::string_view name) const {
  for (const IniSection& section : sections)
    if (EqualsIgnoreCase(section.name, name)) return &section;
  return nullptr;
}

IniDocument ReadIni(std::string_view text, const std::string& file_name) {
  IniDocument document;
  IniSection* current = nullptr;
  LineReader lines(SkipByteOrderMark(text), file_name);
  std::string_view raw;
  while (lines.Next(&raw)) {
    const int number = lines.number();
    const std::string_view line = TrimBlanks(raw);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;

    if (line.front() == '[') {
      if (line.back() != ']')
        throw MachineFolderError(file_name, number, "section header without a closing ']'");
      const std::string_view name = TrimBlanks(line.substr(1, line.size() - 2));
      if (name.empty()) throw MachineFolderError(file_name, number, "section without a name");
      current = nullptr;
      for (IniSection& section : document.sections)
        if (EqualsIgnoreCase(section.name, name)) current = &section;
      if (current == nullptr) {
        document.sections.push_back(IniSection{std::string(name), number, {}});
        current = &document.sections.back();
      }
      continue;
    }

    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
      throw MachineFolderError(
          file_name, number,
          "not a section, a comment or key = value: \"" + std::string(line) + "\"");
    const std::string_view key = TrimBlanks(line.substr(0, equals));
    if (key.empty()) throw MachineFolderError(file_name, number, "entry without a key");
    if (current == nullptr)
      throw MachineFolderError(file_name, number,
                               "key \"" + std::string(key) + "\" before the first section");
    if (const IniEntry* earlier = current->Find(key))
      throw MachineFolderError(file_name, number,
                               "key \"" + std::string(key) + "\" given twice in [" + current->name +
                                   "] (first on line " + std::to_string(earlier->line) + ")");
    current->entries.push_back(
        IniEntry{std::string(key), std::string(TrimBlanks(line.substr(equals + 1))), number});
  }
  return document;
}

}  // namespace sim
