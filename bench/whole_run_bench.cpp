// The cost of a whole standard start on the sample workstation (samples/workstation), and
// how it grows with the install archive (100, 10,000 and 65,535 records, every installed
// file up to date) and with the COM libraries of redist\ (each one up to date in the
// system folder).
//
// The timed part is RunLauncher with an empty command line, as a shortcut starts it,
// including the simulated Windows answering its calls. It excludes
// loading the machine folder (reading machine.ini, registry.reg and security.txt) before
// the run and saving it after; the run is not saved at all, since every iteration starts
// from a fresh copy. The pauses between steps cost nothing: the simulated clock skips them.
// Logging is off, as in a run without -d.
//
// Counters: own_ms = the launcher's own work, the run's time less the time the simulated
// Windows took to answer its file and system calls (other calls count as its own);
// system_ms = that answering time; calls = the file and system calls of a run (each
// timed call adds two clock readings, some 40 ns, to the run's time);
// peak_heap = the most heap held at once during a run beyond what was held
// before it (the loaded machine excluded); max_rss = the process's peak resident size so
// far; errors = the lines of the error log of one run with -d outside the timed ones
// (a plain run writes no logs), 0 when the machine is as meant: everything up to date.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "bench/peak_heap.h"
#include "bench/timed_platform.h"
#include "install/install_rules.h"
#include "launcher/win_main.h"
#include "platform/sim/sim_platform.h"
#include "tests/support/test_workstation.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSample = fs::path(PORTAVEL_SOURCE_DIR) / "samples" / "workstation";
constexpr const char* kProductFile = "product-file-";

// The product files and COM libraries are hard links to the template's: an up-to-date
// run only reads them, so they need not be copied for every iteration.
bool SharedByLink(const fs::path& file) {
  const std::string name = file.filename().string();
  return name.starts_with(kProductFile) || name.starts_with("com-library-");
}

// A copy of the sample workstation with `records` archive records and `com_libraries`
// COM libraries, all up to date; each Reset makes a fresh copy of it to run on.
class SampleMachine {
 public:
  SampleMachine(int records, int com_libraries) {
    fs::copy(kSample, template_.root(), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    std::vector<tabpack::MemoryFile> files;
    for (int i = 0; i < records; ++i) {
      const std::string name = kProductFile + std::to_string(i) + ".dll";
      files.push_back(test_support::ArchiveFile(name, "CUR", INSTALL_DIFFERENT, std::string(16, 'x')));
      template_.WriteC("Portavel/" + name, files.back().contents);
      fs::last_write_time(template_.C("Portavel/" + name), test_support::HostTime(test_support::kRecordTime));
    }
    if (records > 0) template_.PutArchive(files);
    std::string versions = "[versions]\n";
    for (int i = 0; i < com_libraries; ++i) {
      const std::string name = "com-library-" + std::to_string(i) + ".dll";
      template_.WriteC("Portavel/redist/" + name, "library");
      template_.WriteC("Windows/SysWOW64/" + name, "library");
      versions += "C:\\Portavel\\redist\\" + name + " = 1.0.0." + std::to_string(i) + "\n";
      versions += "C:\\Windows\\SysWOW64\\" + name + " = 1.0.0." + std::to_string(i) + "\n";
    }
    template_.Append("machine.ini", versions);
    work_ = template_.root().string() + "-run";
  }
  ~SampleMachine() {
    loaded_.reset();
    std::error_code ignored;
    fs::remove_all(work_, ignored);
  }

  // A fresh copy of the template, loaded.
  platform::Platform& Reset() {
    loaded_.reset();
    fs::remove_all(work_);
    fs::create_directory(work_);
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(template_.root())) {
      const fs::path to = work_ / fs::relative(entry.path(), template_.root());
      if (entry.is_directory())
        fs::create_directories(to);
      else if (SharedByLink(entry.path()))
        fs::create_hard_link(entry.path(), to);
      else
        fs::copy_file(entry.path(), to);
    }
    loaded_ = sim::SimWorkstation::Load(work_);
    return loaded_->platform();
  }

  std::size_t ErrorsOfLoggedRun() {
    RunLauncher(Reset(), "-d");
    return test_support::ReadLines(work_ / "drives" / "C" / "Portavel" / "TavixError.log").size();
  }

 private:
  test_support::Workstation template_;
  fs::path work_;
  std::unique_ptr<sim::SimWorkstation> loaded_;
};

SampleMachine& MachineWith(int records, int com_libraries) {
  static std::map<std::pair<int, int>, std::unique_ptr<SampleMachine>> machines;
  auto& machine = machines[{records, com_libraries}];
  if (!machine) machine = std::make_unique<SampleMachine>(records, com_libraries);
  return *machine;
}

// range(0) = archive records (0: no archive, as the sample ships), range(1) = COM libraries.
void BM_StandardStart(benchmark::State& state) {
  SampleMachine& machine = MachineWith(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  state.counters["errors"] = static_cast<double>(machine.ErrorsOfLoggedRun());
  bench::PeakHeap heap;
  bench::CallClock clock;
  using Clock = bench::CallClock::Clock;
  Clock::duration own{};
  Clock::duration system{};
  std::uint64_t calls = 0;
  for (auto _ : state) {
    state.PauseTiming();
    bench::TimedPlatform timed(machine.Reset(), clock);
    clock.Reset();
    heap.Start();
    state.ResumeTiming();
    const Clock::time_point start = Clock::now();
    benchmark::DoNotOptimize(RunLauncher(timed.platform(), ""));
    const Clock::duration elapsed = Clock::now() - start;
    state.PauseTiming();
    own += clock.Outside(elapsed);
    system += clock.Inside();
    calls += clock.calls();
    heap.Stop();
    state.ResumeTiming();
  }
  using Milliseconds = std::chrono::duration<double, std::milli>;
  state.counters["own_ms"] = benchmark::Counter(Milliseconds(own).count(), benchmark::Counter::kAvgIterations);
  state.counters["system_ms"] = benchmark::Counter(Milliseconds(system).count(), benchmark::Counter::kAvgIterations);
  state.counters["calls"] = benchmark::Counter(static_cast<double>(calls), benchmark::Counter::kAvgIterations);
  heap.Report(state);
}
BENCHMARK(BM_StandardStart)
    ->ArgNames({"records", "com"})
    ->Args({0, 0})
    ->Args({100, 0})
    ->Args({10000, 0})
    ->Args({65535, 0})
    ->Args({0, 10})
    ->Args({0, 100})
    ->Args({0, 1000})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
