// A launcher with its logs open on a temporary simulated workstation, for the tests
// of the system inspection: the machine's registry holds what a fresh Windows holds
// (UAC on, the release name 22H2) unless a test gives another.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "diag/log.h"
#include "base/launcher.h"
#include "tests/unit/test_machine.h"

namespace inspection_test {

inline std::string RegistryFile(const std::string& sections) {
  return "Windows Registry Editor Version 5.00\r\n\r\n" + sections;
}

// UAC's policy, which both registry views share, and the release name in both views.
inline std::string SystemKeys(const std::string& enable_lua = "\"EnableLUA\"=dword:00000001\r\n",
                              const std::string& current_version =
                                  "\"DisplayVersion\"=\"22H2\"\r\n\"ReleaseId\"=\"2009\"\r\n") {
  std::string sections =
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System]\r\n" +
      enable_lua + "\r\n";
  for (const char* view : {"", "WOW6432Node\\"})
    sections += std::string("[HKEY_LOCAL_MACHINE\\SOFTWARE\\") + view +
                "Microsoft\\Windows NT\\CurrentVersion]\r\n" + current_version + "\r\n";
  return sections;
}

inline const std::string kFreshRegistry = RegistryFile(SystemKeys());

// One record of the debug log: its tag, nesting depth and message, wrapped lines
// joined back.
struct Record {
  std::string tag;
  std::size_t depth = 0;
  std::string message;
};

inline std::vector<Record> ParseDebugLog(const std::string& text) {
  constexpr std::size_t kTagColumn = 24;
  constexpr std::size_t kMessageColumn = 33;
  std::vector<Record> records;
  bool continued = false;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() == ' ' && !records.empty()) {
      // The first line lost the space it was cut at; later ones keep theirs.
      if (!continued) records.back().message += ' ';
      continued = true;
      records.back().message += line.substr(line.find_first_not_of(' '));
      continue;
    }
    continued = false;
    Record record;
    if (line.size() >= kMessageColumn) {
      record.tag = line.substr(kTagColumn, 8);
      const std::string rest = line.substr(kMessageColumn);
      const std::size_t start = std::min(rest.find_first_not_of(' '), rest.size());
      record.depth = start / 3;
      record.message = rest.substr(start);
    }
    records.push_back(record);
  }
  return records;
}

// The launcher of a test, logging at `level` (1 diagnostic, 100 developer).
struct InspectionRun {
  explicit InspectionRun(const std::string& ini = "", const std::string& registry = kFreshRegistry,
                         int level = 100)
      : machine(ini, registry), l(machine.platform()) {
    unit::SetLauncherVersion(l);
    if (level >= 100) l.run.DeveloperDebugLogging = true;
    else l.run.DiagnosticLogging = true;
    OpenLogFiles(l, unit::kFolder);
  }

  std::vector<Record> Records() const {
    return ParseDebugLog(machine.File(unit::kDebugLog).value_or(""));
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> messages;
    for (const Record& r : Records()) messages.push_back(r.message);
    return messages;
  }
  // The error log's messages.
  std::vector<std::string> Errors() const {
    std::vector<std::string> errors;
    std::istringstream lines(machine.File(unit::kErrorLog).value_or(""));
    for (std::string line; std::getline(lines, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.size() > 34) errors.push_back(line.substr(34));
    }
    return errors;
  }
  bool Logged(const std::string& message) const {
    const auto all = Messages();
    return std::find(all.begin(), all.end(), message) != all.end();
  }
  std::size_t Count(const std::string& message) const {
    const auto all = Messages();
    return static_cast<std::size_t>(std::count(all.begin(), all.end(), message));
  }
  // The depth of the first record with the message; -1 when there is none.
  int DepthOf(const std::string& message) const {
    for (const Record& r : Records())
      if (r.message == message) return static_cast<int>(r.depth);
    return -1;
  }
  std::string Journal(const char* name) const {
    std::ifstream in(machine.folder() / name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  unit::TestMachine machine;
  Launcher l;
};

}  // namespace inspection_test
