// The launcher's two shared error boxes.
#pragma once

#include "base/fixed_string.h"
#include "platform/user_interface.h"

struct Launcher;

// The error box with a formatted message; also an error record of the run.
void ShowErrorDialog(Launcher& l, const char* format, ...) PORTAVEL_PRINTF(2, 3);
// The same box owned by `owner` instead of the status window: a modal dialog that
// shows an error keeps the user from pressing its buttons while the box is up.
void ShowErrorDialogOwnedBy(Launcher& l, platform::WindowHandle owner, const char* format, ...)
    PORTAVEL_PRINTF(3, 4);

// The box shown before the launcher ends after a critical error.
void ShowCriticalErrorBox(Launcher& l);
