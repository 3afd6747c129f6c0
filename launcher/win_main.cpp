// The launcher's run from start to end: set-up, the mode chosen by the engine
// commands, and the exit code.
#include "launcher/win_main.h"

#include "launcher/command_line.h"
#include "launcher/initialize.h"
#include "base/launcher.h"
#include "launcher/modes.h"

namespace {

[[noreturn]] void WinMain(Launcher& l, std::string_view command_line) {
  Initialize(l, command_line);
  if (HasEngineCommand(l, "list")) RunListMode(l);
  if (HasEngineCommand(l, "replace")) RunReplaceMode(l);
  if (HasEngineCommand(l, "preload")) RunPreloadMode(l);
  RunStandardStart(l, command_line);
}

}  // namespace

int RunLauncher(platform::Platform& os, std::string_view command_line) {
  Launcher l(os);
  try {
    WinMain(l, command_line);
  } catch (const ProcessExit& exit) {
    ReleaseArgumentBlocks(l);
    return exit.code;
  }
}
