// Simulated workstation: the error that refuses a malformed machine folder.
#pragma once

#include <stdexcept>
#include <string>

namespace sim {

// Names the file, the line (1-based; 0 when the file as a whole is at fault) and
// what is wrong. The runner prints it as one line and exits with code 2.
class MachineFolderError : public std::runtime_error {
 public:
  MachineFolderError(std::string file, int line, const std::string& what)
      : std::runtime_error(file + (line > 0 ? ":" + std::to_string(line) : std::string()) +
                           ": " + what),
        file_(std::move(file)),
        line_(line) {}
  const std::string& file() const { return file_; }
  int line() const { return line_; }

 private:
  std::string file_;
  int line_;
};

}  // namespace sim
