// The launcher's two shared error boxes.
#pragma once

#include "base/fixed_string.h"

struct Launcher;

// The error box with a formatted message; also an error record of the run.
void ShowErrorDialog(Launcher& l, const char* format, ...) PORTAVEL_PRINTF(2, 3);

// The box shown before the launcher ends after a critical error.
void ShowCriticalErrorBox(Launcher& l);
