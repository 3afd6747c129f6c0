// Release of the two argument blocks.
//
// On Windows the blocks live until the process ends and go with it. A process that
// outlives the run, as the simulated workstation's does when one process runs many
// launchers, gives them back here after the run, without records: the run's logs end
// with DisposeApp's last record, as they do when the process ends.
#include "diag/heap_helpers.h"
#include "launcher/command_line.h"
#include "base/launcher.h"

namespace {

void Release(Launcher& l, char**& block) {
  if (HoldsArgumentBlock(block)) l.os.system.HeapFree(block);
  block = static_cast<char**>(ReleasedPointer());
}

}  // namespace

void ReleaseArgumentBlocks(Launcher& l) {
  RunState& run = l.run;
  // The counts go first, so that nothing reads the tables once they are released.
  run.EngineCommandCount = 0;
  run.ArgumentCount = 0;
  Release(l, run.EngineCommands);
  Release(l, run.ParamsArray);
}
