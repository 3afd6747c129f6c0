// Simulated workstation: the journals a run appends to.
#include "platform/sim/journal.h"

#include <fstream>

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

void Journal::Append(std::string_view line) const {
  std::ofstream out(file_, std::ios::binary | std::ios::app);
  out << line << '\n';
}

}  // namespace sim
