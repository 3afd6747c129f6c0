// The two ways a run ends.
#include "lifetime/dispose_app.h"

#include "diag/log.h"
#include "lifetime/com_library.h"
#include "base/launcher.h"
#include "ui/message_boxes.h"
#include "ui/status_window.h"

void DisposeApp(Launcher& l, int exit_code) {
  DebugLogText(l, "DisposeApp: Disposing of resources.");
  DisposeStatusWindow(l);
  l.os.files.CloseAllStreams();
  DisposeCOM(l);
  DebugLog(l, "Ending launcher application with exit code %d.", exit_code);
  throw ProcessExit{exit_code};
}

void AbortApplication(Launcher& l) {
  DebugLogText(l, "Application is being aborted due to a critical error.");
  ShowCriticalErrorBox(l);
  DisposeApp(l, 6);
}
