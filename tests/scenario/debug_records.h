// The records of a debug log as a scenario test reads them: each record's message
// with its wrapped lines joined back, and its nesting depth.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace scenario {

struct DebugRecord {
  std::size_t depth = 0;
  std::string message;
};

inline std::vector<DebugRecord> DebugRecords(const std::vector<std::string>& lines) {
  constexpr std::size_t kMessageColumn = 33;
  std::vector<DebugRecord> records;
  bool continued = false;
  for (const std::string& line : lines) {
    if (!line.empty() && line.front() == ' ' && !records.empty()) {
      // The first line lost the space it was cut at; later ones keep theirs.
      if (!continued) records.back().message += ' ';
      continued = true;
      records.back().message += line.substr(line.find_first_not_of(' '));
      continue;
    }
    continued = false;
    DebugRecord record;
    if (line.size() >= kMessageColumn) {
      const std::string rest = line.substr(kMessageColumn);
      const std::size_t start = std::min(rest.find_first_not_of(' '), rest.size());
      record.depth = start / 3;
      record.message = rest.substr(start);
    }
    records.push_back(record);
  }
  return records;
}

inline std::vector<std::string> DebugMessages(const std::vector<std::string>& lines) {
  std::vector<std::string> messages;
  for (const DebugRecord& record : DebugRecords(lines)) messages.push_back(record.message);
  return messages;
}

}  // namespace scenario
