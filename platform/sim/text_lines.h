// Simulated workstation: reading the machine folder's text files line by line.
// Lines end with LF or CR LF; lines are numbered from 1 for error messages.
#pragma once

#include <string_view>

namespace sim {

class LineReader {
 public:
  explicit LineReader(std::string_view text) : rest_(text) {}

  // The next line without its line end; false after the last line.
  bool Next(std::string_view* line);
  // The number of the line Next returned last.
  int number() const { return number_; }

 private:
  std::string_view rest_;
  int number_ = 0;
};

// `text` without leading and trailing spaces, tabs and stray CRs (a line end is one
// CR LF; a second CR is a blank that editors leave behind).
std::string_view TrimBlanks(std::string_view text);

// `text` without a UTF-8 byte order mark, which Windows editors like to put first.
std::string_view SkipByteOrderMark(std::string_view text);

}  // namespace sim
