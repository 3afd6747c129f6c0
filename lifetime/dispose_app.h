// The two ways a run ends.
#pragma once

struct Launcher;

// Orderly end: releases the status window and streams and ends the run with
// `exit_code` (by throwing ProcessExit to the entry point).
[[noreturn]] void DisposeApp(Launcher& l, int exit_code);

// End after a critical error: tells the user, then DisposeApp(6).
[[noreturn]] void AbortApplication(Launcher& l);
