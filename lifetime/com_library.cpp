// The COM library of the launcher's thread.
#include "lifetime/com_library.h"

#include <cstdint>

#include "diag/error_strings.h"
#include "diag/log.h"
#include "base/launcher.h"

void InitCOM(Launcher& l) {
  const platform::HResult result = l.os.shell.CoInitialize();
  if (result == platform::kSOk) {
    DebugLogText(l, "InitCOM: Standard COM library initialized.");
  } else if (result == platform::kSFalse) {
    DebugLogLevel(l, kDeveloperLevel, "InitCOM: Standard COM library already initialized.");
  } else {
    // The run goes on; the later COM calls fail and report themselves.
    ErrorDescription description;
    FormatErrorString(l, static_cast<std::uint32_t>(result), description, ErrorCodeKind::HResult);
    ErrorLog(l, "InitCOM: Unable to initialize the standard COM library on the current thread; %s",
             description.c_str());
  }
}

void DisposeCOM(Launcher& l) {
  l.os.shell.CoUninitialize();
  DebugLogText(l, "DisposeCOM: Standard COM library disposed.");
}
