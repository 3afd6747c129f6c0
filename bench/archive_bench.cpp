// Speed and memory of the install archive: OpenTABFile + CloseTABFile on archives of
// 100, 10,000 and 65,535 records, the bare read of the same record table as the
// yardstick, and the listing and the whole list mode on the largest archive. Each archive lies on a
// simulated workstation in a temporary folder; logging is off, as in a plain run.
//
// Counters: peak_heap = the most heap held at once during an iteration beyond what
// was held before it (the launcher's blocks and everything else); max_rss = the
// process's peak resident size so far.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/peak_heap.h"
#include "install/file_list.h"
#include "install/install_rules.h"
#include "install/tab_file.h"
#include "base/launcher.h"
#include "launcher/win_main.h"
#include "platform/files.h"
#include "tests/support/test_workstation.h"

namespace {


// A workstation whose C:\Portavel\tsystem0.dll holds `records` records of 16 bytes each.
class ArchiveMachine : public test_support::Workstation {
 public:
  explicit ArchiveMachine(int records) {
    Write("machine.ini", test_support::kMachineIni);
    std::vector<tabpack::MemoryFile> files;
    for (int i = 0; i < records; ++i)
      files.push_back(test_support::ArchiveFile("product-file-" + std::to_string(i) + ".dll", "CUR",
                                                INSTALL_NEWER, std::string(16, 'x')));
    PutArchive(files);
    Load();
  }
};

ArchiveMachine& MachineWith(int records) {
  static std::map<int, std::unique_ptr<ArchiveMachine>> machines;
  auto& machine = machines[records];
  if (!machine) machine = std::make_unique<ArchiveMachine>(records);
  return *machine;
}

using bench::PeakHeap;

void BM_OpenCloseTABFile(benchmark::State& state) {
  ArchiveMachine& machine = MachineWith(static_cast<int>(state.range(0)));
  Launcher l(machine.platform());
  PeakHeap heap;
  for (auto _ : state) {
    heap.Start();
    TABHandle tHnd;
    if (!OpenTABFile(l, tHnd)) state.SkipWithError("the archive did not open");
    benchmark::DoNotOptimize(tHnd.Files);
    CloseTABFile(l, tHnd);
    heap.Stop();
  }
  heap.Report(state);
  state.counters["records"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_OpenCloseTABFile)->Arg(100)->Arg(10000)->Arg(65535)->Unit(benchmark::kMillisecond);

// The yardstick: opening the archive and reading its record table once, nothing else.
void BM_ReadRecordTableOnce(benchmark::State& state) {
  ArchiveMachine& machine = MachineWith(static_cast<int>(state.range(0)));
  platform::Platform& os = machine.platform();
  const auto table = static_cast<std::uint32_t>(state.range(0) * kTABRecordBytes);
  std::vector<std::uint8_t> buffer(table);
  for (auto _ : state) {
    const platform::Handle file = os.files.CreateFile("tsystem0.dll", platform::kGenericRead, 0,
                                                      platform::kOpenExisting,
                                                      platform::kFileAttributeNormal);
    std::uint32_t read = 0;
    os.files.SetFilePointer(file, kTABHeaderBytes, platform::kFileBegin);
    if (!os.files.ReadFile(file, buffer.data(), table, &read) || read != table)
      state.SkipWithError("the table could not be read");
    benchmark::DoNotOptimize(buffer.data());
    os.system.CloseHandle(file);
  }
  state.counters["records"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_ReadRecordTableOnce)->Arg(100)->Arg(10000)->Arg(65535)->Unit(benchmark::kMillisecond);

// The listing alone, without the rest of the launcher's run.
void BM_CreateFileList(benchmark::State& state) {
  ArchiveMachine& machine = MachineWith(static_cast<int>(state.range(0)));
  Launcher l(machine.platform());
  PeakHeap heap;
  for (auto _ : state) {
    heap.Start();
    CreateFileList(l);
    heap.Stop();
  }
  heap.Report(state);
  state.counters["records"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_CreateFileList)->Arg(65535)->Unit(benchmark::kMillisecond);

// The list mode as a user runs it: the whole launcher run with "list".
void BM_ListMode(benchmark::State& state) {
  ArchiveMachine& machine = MachineWith(static_cast<int>(state.range(0)));
  PeakHeap heap;
  for (auto _ : state) {
    heap.Start();
    if (RunLauncher(machine.platform(), "list") != 0) state.SkipWithError("list mode failed");
    heap.Stop();
  }
  heap.Report(state);
  state.counters["records"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_ListMode)->Arg(65535)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
