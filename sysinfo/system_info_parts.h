// The parts of the system information object and the records that report them, as
// LoadSystemInfoObject runs them; each part is run by the loader only.
#pragma once

struct Launcher;

// The operating-system part: version tests, edition, release name and display name;
// sets IsLoaded. True when the name is one of Windows 7's (its end-of-support
// statement then follows the detection record).
bool NameOperatingSystem(Launcher& l);

// The "Detected Operating System" record and, with the Windows 7 mark, the
// end-of-support statement, otherwise the warning for a system not on the list.
void WriteDetectionRecords(Launcher& l, bool windows7_mark);

// The processor architecture the process sees, and the warning for ARM-64.
void WriteArchitectureRecord(Launcher& l);

void LoadHardwarePart(Launcher& l);

// Ends the run (AbortApplication) when the launcher's own process token cannot be
// queried.
void LoadUserPart(Launcher& l);
