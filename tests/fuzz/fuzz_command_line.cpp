// Arbitrary bytes as the launcher's command line: the split and both classification
// passes must stay inside the argument blocks, keep engine commands within a name's
// 31 characters and upper case, and leave nothing allocated once the blocks are
// released.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

#include "launcher/command_line.h"
#include "base/launcher.h"
#include "platform/sim/sim_platform.h"

namespace {

namespace fs = std::filesystem;

// One plain workstation for the whole session, removed when the fuzzer exits.
struct Workstation {
  Workstation() {
    std::string pattern = (fs::temp_directory_path() / "fuzz_command_line_XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    folder = pattern;
    std::ofstream(folder / "machine.ini");
    ws = sim::SimWorkstation::Load(folder);
  }
  ~Workstation() {
    ws.reset();
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }

  fs::path folder;
  std::unique_ptr<sim::SimWorkstation> ws;
};

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

void CheckEngineCommands(const Launcher& l) {
  const RunState& run = l.run;
  Check(run.EngineCommandCount >= 0 && run.EngineCommandCount <= run.ArgumentCount);
  for (std::int32_t i = 0; i < run.EngineCommandCount; ++i) {
    const std::string_view command = run.EngineCommands[i];
    Check(command.size() <= 31);
    for (char c : command) Check(!(c >= 'a' && c <= 'z'));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Workstation workstation;
  Launcher l(workstation.ws->platform());
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  try {
    InitParams(l, line);
    Check(l.run.ArgumentCount >= 0 &&
          static_cast<std::size_t>(l.run.ArgumentCount) < ArgumentTableEntries(size));
    Check(l.run.ParamsArray[l.run.ArgumentCount] == nullptr);
    CheckEngineCommands(l);
    // The verbose pass formats every record; with no log open none is written.
    l.log.DebugLevel = 100;
    ClassifyArguments(l, true);
    CheckEngineCommands(l);
    Check(l.log.LogNestingDepth == 0);
  } catch (const ProcessExit& exit) {
    Check(exit.code == 0);  // only the help box ends the run for a line the heap can hold
  }
  ReleaseArgumentBlocks(l);
  Check(!HoldsArgumentBlock(l.run.ParamsArray) && !HoldsArgumentBlock(l.run.EngineCommands));
  return 0;
}
