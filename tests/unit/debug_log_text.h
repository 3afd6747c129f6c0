// The debug log's text with every wrapped record joined back onto one line (CR LF
// ends kept), so that a test can look for a whole message however long it is.
#pragma once

#include <sstream>
#include <string>
#include <vector>

namespace unit {

// A record's first line lost the space it was cut at; its continuation lines start
// with the margin and keep the spaces they were cut after.
inline std::string UnwrapDebugLog(const std::string& text) {
  std::vector<std::string> records;
  bool continued = false;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const bool continuation = !records.empty() && !line.empty() && line.front() == ' ';
    if (!continuation) {
      records.push_back(line);
      continued = false;
      continue;
    }
    if (!continued) records.back().push_back(' ');
    continued = true;
    records.back().append(line.substr(line.find_first_not_of(' ')));
  }
  std::string joined;
  for (const std::string& record : records) joined.append(record).append("\r\n");
  return joined;
}

}  // namespace unit
