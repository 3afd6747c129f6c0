// Simulated workstation: reading the machine folder's text files line by line.
// Lines end with LF or CR LF; lines are numbered from 1 for error messages. A
// carriage return inside a line (a file with CR-only line ends, which would
// otherwise read as one long line) is refused.
#pragma once

#include <string>
#include <string_view>

namespace sim {

class LineReader {
 public:
  // `file_name` names the file in the MachineFolderError of a refused line.
  LineReader(std::string_view text, std::string file_name)
      : rest_(text), file_name_(std::move(file_name)) {}

  // The next line without its line end; false after the last line.
  bool Next(std::string_view* line);
  // The number of the line Next returned last.
  int number() const { return number_; }

 private:
  std::string_view rest_;
  std::string file_name_;
  int number_ = 0;
};

// `text` without leading and trailing spaces, tabs and stray CRs (a line end is one
// CR LF; a second CR is a blank that editors leave behind).
std::string_view TrimBlanks(std::string_view text);

// `text` without a UTF-8 byte order mark, which Windows editors like to put first.
std::string_view SkipByteOrderMark(std::string_view text);

}  // namespace sim
