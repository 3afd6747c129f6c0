// Simulated workstation: the journals a run appends to.
#include "platform/sim/journal.h"

#include "platform/sim/folder_entries.h"

namespace sim {

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += "\"\"";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else out += c;
  }
  out += '"';
  return out;
}

void PutTextMode(std::ostream& out, std::string_view text) {
  for (char c : text) {
    if (c == '\n') out.put('\r');
    out.put(c);
  }
}

void Journal::Append(std::string_view line) const {
  if (auto out = OpenRegularFile(file_, std::ios::binary | std::ios::app)) *out << line << '\n';
}

}  // namespace sim
