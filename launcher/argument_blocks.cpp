// Release of the two argument blocks.
//
// On Windows the blocks live until the process ends and go with it. A process that
// outlives the run, as the simulated workstation's does when one process runs many
// launchers, releases them here after the run.
#include "diag/heap_helpers.h"
#include "launcher/command_line.h"
#include "launcher/launcher.h"

void ReleaseArgumentBlocks(Launcher& l) {
  RunState& run = l.run;
  // The counts go first, so that nothing reads the tables once they are released.
  run.EngineCommandCount = 0;
  run.ArgumentCount = 0;
  if (HoldsArgumentBlock(run.EngineCommands)) HeapFreeHlpr(l, &run.EngineCommands, "EngineCommands");
  if (HoldsArgumentBlock(run.ParamsArray)) HeapFreeHlpr(l, &run.ParamsArray, "ParamsArray");
}
