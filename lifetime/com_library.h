// The COM library of the launcher's thread, which the shell-link work needs: opened
// as the last step of the set-up and closed on every orderly end.
#pragma once

struct Launcher;

void InitCOM(Launcher& l);

// Also when InitCOM failed or never ran (after the help box).
void DisposeCOM(Launcher& l);
