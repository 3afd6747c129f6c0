// Asking for administrator rights before a step that needs them: on Windows 7 or
// newer with UAC, a user without them is offered, once per run, to restart the
// launcher elevated.
#pragma once

struct Launcher;

// True when the caller may go on with its privileged step. When the user accepts
// the elevation dialog and the elevated launcher starts, the run ends here with
// exit code 1 and the call does not return.
bool RequestElevatedRights(Launcher& l);
