// Simulated workstation: reading the machine folder's text files line by line.
#include "platform/sim/text_lines.h"

namespace sim {

bool LineReader::Next(std::string_view* line) {
  if (rest_.empty()) return false;
  const std::size_t end = rest_.find('\n');
  std::string_view found = rest_.substr(0, end);
  rest_ = end == std::string_view::npos ? std::string_view() : rest_.substr(end + 1);
  if (!found.empty() && found.back() == '\r') found.remove_suffix(1);
  ++number_;
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
