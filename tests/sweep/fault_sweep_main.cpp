// fault_sweep: proves that no single failing system call loses anything. On the sample
// workstation it runs each mode once cleanly, counting the calls of every platform
// operation; then, for each operation and each chosen call number, it runs the mode
// again from the same machine with exactly that call failing, and checks that
//   - the run ends by its own exit with a launcher exit code and reports nothing on
//     standard error (no crash, hang or sanitizer report);
//   - the failure shows as an error record, unless it is silent by design there;
//   - every file the machine held is unchanged, given the bytes a clean run gives it,
//     or kept in a backup set;
//   - one clean run afterwards brings the machine to the state of the clean run;
// a lost file or a lasting difference that follows from the failure by design is no
// finding.
//
//   fault_sweep [--all] [--operation NAME]
//
// Without --all it fails the first, a middle and the last call of every operation.
// Each finding is one line; exit status 0 when there is none, 1 otherwise.
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "base/text_case.h"
#include "tests/support/test_workstation.h"
#include "tests/sweep/fault_plan.h"
#include "tests/sweep/isolated_run.h"
#include "tests/sweep/machine_state.h"
#include "tests/sweep/sample_workstation.h"

namespace sweep {
namespace {

namespace fs = std::filesystem;

// The exit code of a critical abort.
constexpr int kCriticalExit = 6;

// The launcher's exit codes modulo 256: a normal end, an elevated restart, a critical
// error, an unsplittable command line, a product that did not start, files not replaced.
bool IsLauncherExitCode(int status) {
  for (int code : {0, 1, 6, 87, 110, 1627 & 0xFF})
    if (status == code) return true;
  return false;
}

std::vector<std::string> ErrorRecords(const fs::path& machine) {
  return test_support::ErrorMessages(test_support::ReadLines(machine / "drives/Z/Portavel/TavixError.log"));
}

// The debug records of a run (the preload log in preload mode), without date and time.
std::vector<std::string> DebugRecords(const fs::path& machine) {
  std::vector<std::string> records;
  for (const char* log : {"TavixDebug.log", "TavixPreload.log"})
    for (const std::string& line : test_support::ReadLines(machine / "drives/Z/Portavel" / log))
      records.push_back(line.size() > 18 ? line.substr(18) : line);
  return records;
}

// The records of `faulty` that `clean` does not hold as often.
// The records with their pointer and handle values masked, all but an invalid handle:
// a failed call shows as the same records only when it failed in the clean run too.
std::vector<std::string> Masked(const std::vector<std::string>& records) {
  static const std::regex kAddress("0x(?!f{8,16}\\b)[0-9a-f]+");
  std::vector<std::string> masked;
  masked.reserve(records.size());
  for (const std::string& record : records) masked.push_back(std::regex_replace(record, kAddress, "0x_"));
  return masked;
}

std::vector<std::string> NewRecords(const std::vector<std::string>& clean, const std::vector<std::string>& faulty) {
  std::map<std::string, int> counts;
  for (const std::string& record : clean) ++counts[record];
  std::vector<std::string> added;
  for (const std::string& record : faulty)
    if (--counts[record] < 0) added.push_back(record);
  return added;
}

struct Reference {
  MachineState state;
  std::vector<std::string> errors;
  std::vector<std::string> debug;
  std::map<std::string, std::uint32_t> calls;
  int exit_status = -1;
};

class Sweep {
 public:
  Sweep(fs::path work, bool all, std::string only) : work_(std::move(work)), all_(all), only_(std::move(only)) {
    BuildSampleWorkstation(work_ / "sample");
    before_ = Capture(work_ / "sample");
  }

  void RunMode(const Mode& mode) {
    const Reference reference = CleanRun(mode);
    for (const auto& [operation, calls] : reference.calls) {
      if (!only_.empty() && !EqualsIgnoreCase(only_, operation)) continue;
      for (std::uint32_t call : CallsToFail(calls, all_)) FaultyRun(mode, reference, operation, call);
    }
  }

  int runs() const { return runs_; }
  int findings() const { return findings_; }

 private:
  Reference CleanRun(const Mode& mode) {
    const fs::path machine = work_ / "clean";
    CopyMachine(work_ / "sample", machine);
    const RunOutcome outcome = RunIsolated(machine, mode.command_line);
    if (!outcome.exited || !outcome.errors.empty()) Report(mode, "none", "the clean run does not end cleanly: " + outcome.errors);
    return {Capture(machine), ErrorRecords(machine), DebugRecords(machine), outcome.calls, outcome.exit_status};
  }

  void FaultyRun(const Mode& mode, const Reference& reference, const std::string& operation, std::uint32_t call) {
    ++runs_;
    const std::string rule = operation + " = " + std::to_string(call) + ":" + std::to_string(ErrorFor(operation));
    const fs::path machine = work_ / "faulty";
    CopyMachine(work_ / "sample", machine);
    test_support::WriteFile(machine / "machine.ini",
                            test_support::ReadText(machine / "machine.ini") + "[fail]\n" + rule + "\n");
    const RunOutcome outcome = RunIsolated(machine, mode.command_line);
    if (!outcome.exited || !IsLauncherExitCode(outcome.exit_status))
      Report(mode, rule, "ends with status " + std::to_string(outcome.exit_status) + " (signal or hang)");
    if (!outcome.errors.empty()) Report(mode, rule, "writes to standard error: " + outcome.errors);
    const std::vector<std::string> records = ErrorRecords(machine);
    const std::vector<std::string> debug = DebugRecords(machine);
    // A run that aborts before its logs are open can only show the critical error box.
    const bool before_logs = debug.empty() && outcome.exit_status == kCriticalExit;
    // A call that fails in the clean run as well (a file not there) changes nothing.
    const bool unchanged = outcome.exit_status == reference.exit_status && records == reference.errors &&
                           Masked(debug) == Masked(reference.debug);
    if (NewRecords(reference.errors, records).empty() && !before_logs && !unchanged &&
        !SilentByDesign(operation, NewRecords(reference.debug, debug), test_support::ReadLines(machine / "faults.log")))
      Report(mode, rule, "leaves no error record");
    const MachineState after = Capture(machine);
    for (const std::string& lost : LostFiles(before_, after, reference.state)) {
      const bool gone = !after.files.count(lost);
      if (!gone || !LossReportedByDesign(FileName(lost), records))
        ReportChange(mode, operation, rule, "loses a file: " + lost + (gone ? " is gone" : " was overwritten"));
    }

    // The next clean run repairs whatever the failure left behind.
    test_support::WriteFile(machine / "machine.ini", test_support::ReadText(work_ / "sample/machine.ini"));
    const RunOutcome repair = RunIsolated(machine, mode.command_line);
    if (!repair.exited) Report(mode, rule, "the clean run after it does not end");
    for (const std::string& difference : Differences(reference.state, Capture(machine), started_))
      ReportChange(mode, operation, rule, "the clean run after it does not converge: " + difference);
  }

  // A lost file or a lasting difference, unless it follows from the failure by design.
  void ReportChange(const Mode& mode, const std::string& operation, const std::string& rule,
                    const std::string& finding) {
    if (!ChangeByDesign(operation, finding)) Report(mode, rule, finding);
  }

  void Report(const Mode& mode, const std::string& rule, const std::string& finding) {
    ++findings_;
    std::printf("%s [fail] %s: %s\n", mode.name, rule.c_str(), finding.c_str());
  }

  const fs::path work_;
  const bool all_;
  const std::string only_;
  const fs::file_time_type started_ = fs::file_time_type::clock::now();
  MachineState before_;
  int runs_ = 0;
  int findings_ = 0;
};

}  // namespace
}  // namespace sweep

int main(int argc, char** argv) {
  bool all = false;
  std::string only;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--all")) {
      all = true;
    } else if (!std::strcmp(argv[i], "--operation") && i + 1 < argc) {
      only = argv[++i];
    } else {
      std::fprintf(stderr, "usage: fault_sweep [--all] [--operation NAME]\n");
      return 2;
    }
  }
  namespace fs = std::filesystem;
  std::string pattern = (fs::temp_directory_path() / "portavel-sweep-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return 2;
  const auto start = std::chrono::steady_clock::now();
  int runs = 0, findings = 0;
  {
    sweep::Sweep sweep(pattern, all, only);
    for (const sweep::Mode& mode : sweep::kModes) sweep.RunMode(mode);
    runs = sweep.runs();
    findings = sweep.findings();
  }
  std::error_code ignored;
  fs::remove_all(pattern, ignored);
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start);
  std::printf("%d faulty runs, %d findings, %lld s\n", runs, findings, static_cast<long long>(seconds.count()));
  return findings == 0 ? 0 : 1;
}
