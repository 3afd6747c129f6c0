// A launcher run on a temporary simulated workstation for the archive tests: the
// launcher in C:\Portavel (its current folder), developer logging on, and the
// records of the run read back as "<level>|<message>" with level 1, X (developer)
// or E (error).
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "tests/unit/test_machine.h"

namespace archive_test {

inline constexpr std::string_view kArchivePath = "C:\\Portavel\\tsystem0.dll";

struct ArchiveRun : unit::LoggedRun {
  explicit ArchiveRun(const std::string& ini = "") : LoggedRun(ini) {}

  void PutArchive(const std::string& bytes) const { machine.PutFile(kArchivePath, bytes); }

  // The records written since the logs were opened, banner left out.
  std::vector<std::string> Records() const {
    std::vector<std::string> records;
    int line_number = 0;
    for (const std::string& line : test_support::SplitLines(machine.File(unit::kDebugLog).value_or(""))) {
      if (++line_number <= kBannerLines) continue;
      const std::string tag = line.substr(24, 8);
      const std::size_t text = line.find_first_not_of(' ', 32);
      const char* level = tag == "ERROR !!" ? "E" : tag == "DEBUG X " ? "X" : "1";
      records.push_back(std::string(level) + "|" + (text == std::string::npos ? "" : line.substr(text)));
    }
    return records;
  }

  // The records whose message starts with one of `prefixes`.
  std::vector<std::string> RecordsOf(std::initializer_list<std::string_view> prefixes) const {
    std::vector<std::string> chosen;
    for (const std::string& record : Records()) {
      const std::string_view message = std::string_view(record).substr(2);
      for (std::string_view prefix : prefixes)
        if (message.substr(0, prefix.size()) == prefix) chosen.push_back(record);
    }
    return chosen;
  }

  // Whether no handle of the archive is left open.
  bool ArchiveIsClosed() { return machine.IsClosed(kArchivePath); }

  static constexpr int kBannerLines = 6;
};

}  // namespace archive_test
