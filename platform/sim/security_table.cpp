// Simulated workstation: security.txt, the security descriptors of objects that
// have one of their own.
//
// Objects are Windows paths ("C:\ProgramData\Veltrix") or registry keys
// ("HKLM\SOFTWARE\Veltrix Solutions Inc."); they match without regard to case, and a
// folder matches with or without a trailing backslash. Comment lines are read past
// and not written back.
#include "platform/sim/security_table.h"

#include <algorithm>
#include <vector>

#include "platform/sim/machine_folder_error.h"
#include "platform/sim/sddl.h"
#include "platform/sim/text_lines.h"
#include "platform/sim/text_util.h"

namespace sim {
namespace {

// The object as it is matched: "C:\Data\" is "C:\Data", a drive root "C:\" is "C:".
std::string_view MatchForm(std::string_view object) {
  while (!object.empty() && object.back() == '\\') object.remove_suffix(1);
  return object;
}

bool IsDriveRoot(std::string_view match_form) {
  if (match_form.size() != 2 || match_form[1] != ':') return false;
  const char lower = FoldCase(match_form[0]);
  return lower >= 'a' && lower <= 'z';
}

}  // namespace

std::optional<std::string> SecurityTable::Own(std::string_view object) const {
  const std::string_view wanted = MatchForm(object);
  const auto found = std::find_if(entries_.begin(), entries_.end(), [wanted](const Entry& entry) {
    return EqualsIgnoreCase(MatchForm(entry.object), wanted);
  });
  if (found == entries_.end()) return std::nullopt;
  return found->sddl;
}

std::string SecurityTable::Effective(std::string_view object, int* depth) const {
  std::string_view current = MatchForm(object);
  int levels = 0;
  while (true) {
    if (depth) *depth = levels;
    if (auto own = Own(current)) return *own;
    const std::size_t separator = current.rfind('\\');
    if (separator == std::string_view::npos) break;
    current = MatchForm(current.substr(0, separator));
    ++levels;
  }
  // The top has no line: a drive grants full access to Everyone; a registry root has
  // no descriptor the table knows of.
  return IsDriveRoot(current) ? std::string(kEveryoneFullAccess) : std::string();
}

void SecurityTable::Set(std::string_view object, std::string_view sddl) {
  const std::string_view wanted = MatchForm(object);
  for (Entry& entry : entries_) {
    if (EqualsIgnoreCase(MatchForm(entry.object), wanted)) {
      entry.sddl = sddl;
      return;
    }
  }
  entries_.push_back(Entry{std::string(object), std::string(sddl)});
}

SecurityTable ParseSecurityText(std::string_view text, const std::string& file_name) {
  SecurityTable table;
  std::vector<int> entry_lines;  // the line of each entry, for "given twice"
  LineReader lines(SkipByteOrderMark(text), file_name);
  std::string_view line;
  while (lines.Next(&line)) {
    const int number = lines.number();
    const std::string_view trimmed = TrimBlanks(line);
    if (trimmed.empty() || trimmed.front() == ';') continue;
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos)
      throw MachineFolderError(file_name, number, "no tab between the object and its descriptor");
    const std::string_view object = TrimBlanks(line.substr(0, tab));
    const std::string_view sddl = TrimBlanks(line.substr(tab + 1));
    if (object.empty())
      throw MachineFolderError(file_name, number, "a descriptor without an object");
    // Only the file's start may hold a byte order mark; one further on (files joined
    // together) would become part of an object's name.
    if (SkipByteOrderMark(object).size() != object.size())
      throw MachineFolderError(file_name, number, "a byte order mark inside the file");
    if (sddl.empty())
      throw MachineFolderError(file_name, number,
                               "\"" + std::string(object) + "\" without a descriptor");
    std::string error;
    if (!ParseSddl(sddl, &error)) throw MachineFolderError(file_name, number, error);
    const auto& entries = table.entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (EqualsIgnoreCase(MatchForm(entries[i].object), MatchForm(object)))
        throw MachineFolderError(file_name, number,
                                 "\"" + std::string(object) + "\" is given twice (first on line " +
                                     std::to_string(entry_lines[i]) + ")");
    }
    table.Set(object, sddl);
    entry_lines.push_back(number);
  }
  return table;
}

std::string WriteSecurityText(const SecurityTable& table) {
  std::string out;
  for (const SecurityTable::Entry& entry : table.entries())
    out += entry.object + "\t" + entry.sddl + "\n";
  return out;
}

}  // namespace sim
