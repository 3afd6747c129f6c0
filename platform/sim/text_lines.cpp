// Simulated workstation: reading the machine folder's text files line by line.
#include "platform/sim/text_lines.h"

#include "platform/sim/machine_folder_error.h"

namespace sim {

bool LineReader::Next(std::string_view* line) {
  if (rest_.empty()) return false;
  const std::size_t end = rest_.find('\n');
  std::string_view found = rest_.substr(0, end);
  rest_ = end == std::string_view::npos ? std::string_view() : rest_.substr(end + 1);
  if (!found.empty() && found.back() == '\r') found.remove_suffix(1);
  ++number_;
  // Stray CRs at the end of a line are blanks; one before other text ends a line
  // that this reader would not see.
  const std::size_t cr = found.find('\r');
  if (cr != std::string_view::npos && found.find_first_not_of('\r', cr) != std::string_view::npos)
    throw MachineFolderError(file_name_, number_,
                             "a carriage return inside a line (lines end with LF or CR LF)");
  *line = found;
  return true;
}

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

std::string_view SkipByteOrderMark(std::string_view text) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (text.substr(0, kBom.size()) == kBom) text.remove_prefix(kBom.size());
  return text;
}

}  // namespace sim
