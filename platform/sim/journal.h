// Simulated workstation: the journals a run appends to (ui.log, processes.log,
// system.log), one line per event.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>

namespace sim {

// A text in double quotes: inner quotes doubled, line feeds as \n, carriage
// returns as \r.
std::string Quoted(std::string_view text);

// Writes `text` as a C stream in text mode does on Windows: each line feed as CR LF.
void PutTextMode(std::ostream& out, std::string_view text);

class Journal {
 public:
  explicit Journal(std::filesystem::path file) : file_(std::move(file)) {}
  void Append(std::string_view line) const;

 private:
  std::filesystem::path file_;
};

}  // namespace sim
