// Speed and memory of bringing the product's files up to date, against the tools a
// Linux user would use on the same trees, in the same run:
// - 65,535 records whose files are all up to date: the upgrade pass (InstallTABFile)
//   against `rsync -n -a` from the source tree to the installed files;
// - 10,000 records of which 1,000 (200 MB) are newer in the archive: the upgrade pass
//   against `cp --preserve=timestamps` of the same 1,000 files.
// The source tree is what tabpack packs into the archive; the installed files are the
// simulated workstation's C:\Portavel, real host files. The launcher runs in-process,
// initialised as a clerk starts it (without -d, so logging is off); the tools run as
// child processes. Building the trees and putting the older files back between
// iterations are outside the timed part.
//
// Counters: peak_heap = the most heap held at once during a pass beyond what was held
// before it; heap_target = the open archive's record array and read block plus one
// 4,096-byte copy buffer; max_rss = this process's peak resident size so far (the
// trees' generation included).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/launcher.h"
#include "bench/peak_heap.h"
#include "install/install_rules.h"
#include "install/install_tab_file.h"
#include "install/tab_file.h"
#include "install/tab_format.h"
#include "launcher/command_line.h"
#include "launcher/initialize.h"
#include "platform/sim/sim_platform.h"
#include "sysinfo/system_info_loader.h"
#include "tools/tabpack/archive_writer.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono;

constexpr tabpack::UtcTime kRecordTime = {2026, 11, 30, 16, 20, 5, 125};
constexpr std::uint32_t kCopyBufferBytes = 4096;

file_clock::time_point HostTime(const tabpack::UtcTime& t) {
  const sys_days day = year{t.year} / t.month / t.day;
  return file_clock::from_sys(day + hours{t.hour} + minutes{t.minute} + seconds{t.second} +
                              milliseconds{t.millisecond});
}

// The installed copy of a changed file is a day older than its record.
const file_clock::time_point kNewTime = HostTime(kRecordTime);
const file_clock::time_point kOldTime = kNewTime - hours{24};

struct TreeShape {
  int records;
  int changed;  // every tenth record, up to this many
  std::size_t unchanged_bytes;
  std::size_t changed_bytes;
};

constexpr TreeShape kAllUpToDate = {65535, 0, 64, 0};
constexpr TreeShape kSomeChanged = {10000, 1000, 1024, 200000};

void WriteFile(const fs::path& path, std::size_t bytes, char fill, file_clock::time_point time) {
  std::ofstream(path, std::ios::binary) << std::string(bytes, fill);
  fs::last_write_time(path, time);
}

// Runs the tool with its output in `output` (/dev/null when empty); whether it ended
// with 0.
bool RunTool(const std::vector<std::string>& args, const fs::path& output = {}) {
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const std::string out = output.empty() ? "/dev/null" : output.string();
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t child = 0;
  const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return false;
  int status = 0;
  if (waitpid(child, &status, 0) != child) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A workstation whose archive packs the source tree, and whose C:\Portavel holds every
// file of it, the changed ones a day older. The launcher is initialised on it once.
class InstallMachine {
 public:
  explicit InstallMachine(const TreeShape& shape) {
    folder_ = fs::temp_directory_path() /
              ("portavel-install-bench-" + std::to_string(::getpid()) + "-" + std::to_string(shape.records));
    source_ = folder_ / "source";
    installed_ = folder_ / "drives" / "C" / "Portavel";
    fs::create_directories(source_);
    fs::create_directories(installed_);
    fs::create_directories(folder_ / "drives" / "C" / "ProgramData" / "Veltrix");
    std::ofstream(folder_ / "machine.ini")
        << "[machine]\nclock = 2026-12-06T08:30:00\n[user]\ntoken_admin = true\n";

    std::vector<tabpack::ManifestLine> lines;
    for (int i = 0; i < shape.records; ++i) {
      const std::string name = "product-file-" + std::to_string(i) + ".dll";
      const bool changed = i % 10 == 0 && i / 10 < shape.changed;
      const std::size_t bytes = changed ? shape.changed_bytes : shape.unchanged_bytes;
      WriteFile(source_ / name, bytes, 'n', kNewTime);
      WriteFile(installed_ / name, bytes, changed ? 'o' : 'n', changed ? kOldTime : kNewTime);
      if (changed) changed_.push_back(name);
      lines.push_back({i + 1, name, "CUR", INSTALL_DIFFERENT, kRecordTime});
    }
    std::string error;
    if (!tabpack::PackArchive(lines, source_, installed_ / "tsystem0.dll", &error))
      throw std::runtime_error(error);
    // rsync -a compares the folders' own times too.
    fs::last_write_time(installed_, fs::last_write_time(source_));

    workstation_ = sim::SimWorkstation::Load(folder_);
    launcher_ = std::make_unique<Launcher>(workstation_->platform());
    Initialize(*launcher_, "");
    LoadSystemInfoObject(*launcher_);
    heap_target_ = static_cast<std::size_t>(shape.records) * (sizeof(TABFileRecord) + kTABRecordBytes) +
                   kCopyBufferBytes;
  }
  ~InstallMachine() {
    ReleaseArgumentBlocks(*launcher_);
    launcher_.reset();
    workstation_.reset();
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  Launcher& launcher() { return *launcher_; }
  const fs::path& source() const { return source_; }
  const fs::path& installed() const { return installed_; }
  const std::vector<std::string>& changed() const { return changed_; }
  std::size_t heap_target() const { return heap_target_; }

  // Makes the changed files a day older again, as before the first pass.
  void AgeChangedFiles() const {
    for (const std::string& name : changed_) fs::last_write_time(installed_ / name, kOldTime);
  }

  // Whether every installed file has its record's bytes and time.
  bool UpToDate() const {
    for (const auto& entry : fs::directory_iterator(source_)) {
      const fs::path installed = installed_ / entry.path().filename();
      if (fs::file_size(installed) != entry.file_size() ||
          fs::last_write_time(installed) != kNewTime)
        return false;
    }
    return true;
  }

  // Whether rsync, asked to itemise, finds nothing to bring over.
  bool RsyncFindsNothing() const {
    const fs::path listing = folder_ / "rsync-items.txt";
    return RunTool({"rsync", "-n", "-a", "-i", source_.string() + "/", installed_.string() + "/"},
                   listing) &&
           fs::file_size(listing) == 0;
  }

 private:
  fs::path folder_;
  fs::path source_;
  fs::path installed_;
  std::vector<std::string> changed_;
  std::size_t heap_target_ = 0;
  std::unique_ptr<sim::SimWorkstation> workstation_;
  std::unique_ptr<Launcher> launcher_;
};

InstallMachine& MachineOf(const TreeShape& shape) {
  static std::map<int, std::unique_ptr<InstallMachine>> machines;
  auto& machine = machines[shape.records];
  if (!machine) machine = std::make_unique<InstallMachine>(shape);
  return *machine;
}

// Upgrade passes on the machine of `shape`, its changed files made a day older again
// before each one; then a check that every file is up to date.
void RunUpgradePasses(benchmark::State& state, const TreeShape& shape) {
  InstallMachine& machine = MachineOf(shape);
  bench::PeakHeap heap;
  for (auto _ : state) {
    if (shape.changed > 0) {
      state.PauseTiming();
      machine.AgeChangedFiles();
      state.ResumeTiming();
    }
    heap.Start();
    InstallTABFile(machine.launcher(), INSTALL_UPGRADE);
    heap.Stop();
  }
  if (!machine.UpToDate()) state.SkipWithError("the pass left the files other than up to date");
  heap.Report(state);
  state.counters["heap_target"] = static_cast<double>(machine.heap_target());
}

// Nothing is written: every file is up to date.
void BM_UpgradePassAllUpToDate(benchmark::State& state) { RunUpgradePasses(state, kAllUpToDate); }

void BM_RsyncDryRunAllUpToDate(benchmark::State& state) {
  InstallMachine& machine = MachineOf(kAllUpToDate);
  if (!machine.RsyncFindsNothing()) state.SkipWithError("rsync finds files to bring over");
  const std::vector<std::string> args = {"rsync", "-n", "-a", machine.source().string() + "/",
                                         machine.installed().string() + "/"};
  for (auto _ : state)
    if (!RunTool(args)) state.SkipWithError("rsync failed");
}

// The 1,000 changed files are installed, the rest found up to date.
void BM_UpgradePassSomeChanged(benchmark::State& state) {
  RunUpgradePasses(state, kSomeChanged);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kSomeChanged.changed) *
                          static_cast<std::int64_t>(kSomeChanged.changed_bytes));
}

void BM_CpChangedFiles(benchmark::State& state) {
  InstallMachine& machine = MachineOf(kSomeChanged);
  std::vector<std::string> args = {"cp", "--preserve=timestamps"};
  for (const std::string& name : machine.changed()) args.push_back((machine.source() / name).string());
  args.push_back(machine.installed().string() + "/");
  for (auto _ : state)
    if (!RunTool(args)) state.SkipWithError("cp failed");
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kSomeChanged.changed) *
                          static_cast<std::int64_t>(kSomeChanged.changed_bytes));
}

BENCHMARK(BM_UpgradePassAllUpToDate)->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RsyncDryRunAllUpToDate)->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UpgradePassSomeChanged)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CpChangedFiles)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
