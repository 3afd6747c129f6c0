// Asking for administrator rights, and the elevated restart.
#include "access/elevation.h"

#include <string>

#include "access/elevation_decision.h"
#include "diag/error_strings.h"
#include "diag/log.h"
#include "process/execute_app.h"
#include "base/launcher.h"
#include "sysinfo/system_info_loader.h"
#include "ui/message_boxes.h"

namespace {

constexpr const char* kRoutine = "RequestElevatedRights";
constexpr int kRestartedExitCode = 1;
constexpr std::intptr_t kDialogCancelled = 2;

// Room for the whole command-line copy and the switch, so the switch is never cut off.
using RestartParameters = FixedString<PathBuffer::kCapacity + sizeof " -el">;

// The buttons of the elevation dialog.
class ElevationButtons final : public platform::ElevationDialogButtons {
 public:
  explicit ElevationButtons(Launcher& l) : l_(l) {}

  // Starts the elevated launcher with the same command line and "-el".
  bool Elevate(platform::WindowHandle dialog) override {
    std::string module_path;
    // Without its own path the launcher cannot restart: the button does nothing.
    if (!l_.os.processes.GetModuleFileName(&module_path)) return false;
    PathBuffer launcher;
    launcher.assign_cut(module_path);
    RestartParameters parameters;
    (void)parameters.format("%s -el", l_.run.CommandLineCopy.c_str());  // always fits

    if (ExecuteAppEx(l_, dialog, launcher.view(), parameters.view(), false, false) == -1) {
      // The dialog stays open: the user may try again or cancel.
      ShowErrorDialog(l_, "%s",
                             "The application could not be spawned. Check logs for more information.");
      return false;
    }
    DebugLogText(l_, "Restarting application to elevate process...");
    restarted_ = true;
    return true;
  }

  void Cancel() override {
    DebugLogText(l_, "CheckRights: ERROR: The user has refused elevation.");
    l_.sys.ElevationDenied = true;
  }

  bool restarted() const { return restarted_; }

 private:
  Launcher& l_;
  bool restarted_ = false;
};

// The modal dialog: true when the caller may go on. Ends the run when the elevated
// launcher has started.
bool AskToRestartElevated(Launcher& l) {
  ElevationButtons buttons(l);
  const std::intptr_t ended_with = l.os.ui.DialogBoxParam(l.run.StatusWindow, buttons);
  // The elevated instance runs the whole launch afresh: this one ends at once, as
  // ExitProcess would, without a verdict and without the disposal's records.
  if (buttons.restarted()) throw ProcessExit{kRestartedExitCode};
  if (ended_with == -1 || ended_with == 0) {
    ErrorDescription description;
    FormatErrorString(l, l.os.system.GetLastError(), description);
    ErrorLog(l, "RequestElevatedRights: Failed to create elevation dialog. Details: %s", description.c_str());
    return true;
  }
  if (ended_with == kDialogCancelled || l.sys.ElevationDenied) {
    ErrorLogText(l, "RequestElevatedRights: User has denied elevation.");
    return false;
  }
  return true;
}

}  // namespace

bool RequestElevatedRights(Launcher& l) {
  TraceEnter(l, kRoutine);
  const SystemInfoObject& sys = l.sys;
  if (!sys.IsLoaded || !sys.UserLoaded) LoadSystemInfoObject(l);
  if (!sys.IsLoaded) LoadSystemInfoObject(l);
  // Facts that could not be loaded count as a system older than Windows 7.
  ElevationFacts facts;
  facts.win7_or_newer = sys.IsLoaded && sys.IsWin7OrGreater;
  facts.uac_enabled = sys.IsUACEnabled;
  facts.process_elevated = sys.IsProcessElevated;
  facts.admin_invoked = sys.AdminInvoked;
  facts.elevation_denied = sys.ElevationDenied;

  const ElevationDecision& decision = DecideElevation(facts);
  if (decision.record) DebugLog(l, "%s", decision.record);
  bool allowed = decision.answer == ElevationAnswer::Allow;
  if (decision.answer == ElevationAnswer::AskUser) allowed = AskToRestartElevated(l);
  TraceExit(l, kRoutine);
  return allowed;
}
