// List mode: the archive listing, without a status window.
#include "diag/log.h"
#include "install/file_list.h"
#include "lifetime/dispose_app.h"
#include "base/launcher.h"
#include "launcher/modes.h"

void RunListMode(Launcher& l) {
  DebugLogText(l, "Create File List.");
  CreateFileList(l);
  DisposeApp(l, 0);
}
