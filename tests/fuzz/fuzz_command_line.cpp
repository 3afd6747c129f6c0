// Arbitrary bytes as the launcher's command line: the split and both classification
// passes must stay inside the argument blocks, keep engine commands within a name's
// 31 characters and upper case, and leave nothing allocated once the blocks are
// released.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "launcher/command_line.h"
#include "base/launcher.h"
#include "tests/support/test_workstation.h"

namespace {

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
  // One plain workstation for the whole session, removed when the fuzzer exits.
  static test_support::Workstation machine;
  static platform::Platform& os = (machine.Write("machine.ini", ""), machine.Load());
  Launcher l(os);
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
