// Keeps the command line and builds the two argument blocks from it.
//
// Runs before the logs are opened: its developer records reach no file, and a
// failure here can only be told to the user by the error box before the run ends.
#include <string_view>

#include "diag/heap_helpers.h"
#include "diag/log.h"
#include "launcher/command_line.h"
#include "lifetime/dispose_app.h"
#include "base/launcher.h"
#include "ui/message_boxes.h"

namespace {

enum class Released { Nothing, ParamsArray, Both };

struct CriticalFailure {
  const char* dialog_text;
  const char* record;
  Released released;
  int exit_code;
};

constexpr CriticalFailure kParamsArrayAllocationFailed = {
    "A critical error has occured during initialization. Code: Initialize_476",
    "Initialize: Failed to allocate ParamsArray argument array. Cannot continue.",
    Released::Nothing, 6};
constexpr CriticalFailure kEngineCommandsAllocationFailed = {
    "A critical error has occured during initialization. Code: Initialize_485",
    "Initialize: Failed to allocate EngineCommands argument array. Cannot continue.",
    Released::ParamsArray, 6};
constexpr CriticalFailure kBlockMissing = {
    "A critical error has occured during initialization. Code: Initialize_446",
    "Initialize: ParamsArray == nullptr. Cannot continue.", Released::Both, 6};
constexpr CriticalFailure kSplitFailed = {
    "A critical error has occured during initialization. Code: Initialize_483",
    "Initialize: ConvertCmdToArgv failed. Cannot continue.", Released::Both, 87};

[[noreturn]] void Fail(Launcher& l, const CriticalFailure& failure) {
  ShowErrorDialog(l, "%s", failure.dialog_text);
  DebugLogLevel(l, kDeveloperLevel, "%s", failure.record);
  // In reverse order of allocation.
  if (failure.released == Released::Both) HeapFreeHlpr(l, &l.run.EngineCommands, "EngineCommands");
  if (failure.released != Released::Nothing) HeapFreeHlpr(l, &l.run.ParamsArray, "ParamsArray");
  DisposeApp(l, failure.exit_code);
}

}  // namespace

void InitParams(Launcher& l, std::string_view command_line) {
  RunState& run = l.run;
  // The copy serves the elevated restart; a longer line is cut to what the copy
  // holds, which keeps the switches at its start. There is no log yet to refuse to.
  run.CommandLineCopy.assign_cut(command_line);

  const std::size_t length = command_line.size();
  run.ArgumentBlockSize = ArgumentBlockBytes(length);
  DebugLogLevel(l, kDeveloperLevel, "InitParams: len=%ul sizerequested=%ul.",
                static_cast<unsigned>(length), static_cast<unsigned>(run.ArgumentBlockSize));

  if (!HeapAllocHlpr(l, &run.ParamsArray, run.ArgumentBlockSize, "ParamsArray")) {
    Fail(l, kParamsArrayAllocationFailed);
  }
  DebugLogLevel(l, kDeveloperLevel, "Initialize: ParamsArray heap pointer from HeapAllocHlpr = %p.",
                static_cast<void*>(run.ParamsArray));
  if (!HeapAllocHlpr(l, &run.EngineCommands, run.ArgumentBlockSize, "EngineCommands")) {
    Fail(l, kEngineCommandsAllocationFailed);
  }
  DebugLogLevel(l, kDeveloperLevel,
                "Initialize: EngineCommands heap pointer from HeapAllocHlpr = %p.",
                static_cast<void*>(run.EngineCommands));

  if (run.ParamsArray == nullptr || run.EngineCommands == nullptr) Fail(l, kBlockMissing);
  if (!ConvertCmdToArgv(l, command_line)) Fail(l, kSplitFailed);
  DebugLogLevel(l, kDeveloperLevel, "InitEngineCommands: argv is assigned to (LPTSTR*) = %p.",
                static_cast<void*>(run.EngineCommands));

  ClassifyArguments(l, false);
}
