#include "tests/sweep/machine_state.h"

#include <algorithm>

#include "base/text_case.h"
#include "tests/support/test_workstation.h"

namespace sweep {
namespace {

namespace fs = std::filesystem;

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), ToUpperAscii);
  return text;
}

bool IsLog(const fs::path& path) { return Upper(path.extension().string()) == ".LOG"; }

// Backup sets live in the configuration location: C:\ProgramData\Veltrix\backup*.
bool InBackupSet(const std::string& relative) {
  return Upper(relative).rfind("C/PROGRAMDATA/VELTRIX/BACKUP", 0) == 0;
}

}  // namespace

std::string FileName(const std::string& relative) { return relative.substr(relative.rfind('/') + 1); }

MachineState Capture(const fs::path& machine_folder) {
  MachineState state;
  const fs::path drives = machine_folder / "drives";
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(drives)) {
    if (!entry.is_regular_file() || IsLog(entry.path())) continue;
    const std::string relative = entry.path().lexically_relative(drives).generic_string();
    FileFacts facts{test_support::ReadText(entry.path()), entry.last_write_time()};
    (InBackupSet(relative) ? state.backups : state.files)[relative] = std::move(facts);
  }
  state.registry = test_support::ReadText(machine_folder / "registry.reg");
  state.security = test_support::ReadText(machine_folder / "security.txt");
  return state;
}

std::vector<std::string> Differences(const MachineState& expected, const MachineState& actual,
                                     fs::file_time_type run_started) {
  std::vector<std::string> differences;
  for (const auto& [path, facts] : expected.files) {
    const auto found = actual.files.find(path);
    if (found == actual.files.end())
      differences.push_back(path + " is missing");
    else if (found->second.bytes != facts.bytes)
      differences.push_back(path + " has other bytes");
    else if (facts.time < run_started && found->second.time != facts.time)
      differences.push_back(path + " has another time");
  }
  for (const auto& [path, facts] : actual.files)
    if (!expected.files.count(path)) differences.push_back(path + " is left over");
  if (actual.registry != expected.registry) differences.push_back("registry.reg differs");
  if (actual.security != expected.security) differences.push_back("security.txt differs");
  return differences;
}

std::vector<std::string> LostFiles(const MachineState& before, const MachineState& after,
                                   const MachineState& intended) {
  std::vector<std::string> lost;
  for (const auto& [path, facts] : before.files) {
    const auto now = after.files.find(path);
    if (now != after.files.end() && now->second.bytes == facts.bytes) continue;
    const auto meant = intended.files.find(path);
    if (now != after.files.end() && meant != intended.files.end() && now->second.bytes == meant->second.bytes)
      continue;
    const bool backed_up = std::any_of(after.backups.begin(), after.backups.end(), [&](const auto& backup) {
      return FileName(backup.first) == FileName(path) && backup.second.bytes == facts.bytes;
    });
    if (!backed_up) lost.push_back(path);
  }
  return lost;
}

void CopyMachine(const fs::path& from, const fs::path& to) {
  fs::remove_all(to);
  fs::create_directories(to);
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(from)) {
    const fs::path target = to / entry.path().lexically_relative(from);
    if (entry.is_directory()) {
      fs::create_directory(target);
    } else {
      fs::copy_file(entry.path(), target);
      fs::last_write_time(target, entry.last_write_time());
    }
  }
}

}  // namespace sweep
